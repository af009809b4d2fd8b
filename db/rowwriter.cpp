// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/rowwriter.h"

#include "db/dates.h"
#include "db/dberror.h"
#include "db/snapshot.h"
#include "db/sqlite.h"

#include <QVariant>

namespace {

void bindValue(Statement &st, int index, const QVariant &value)
{
    if (value.isNull())
        st.bindNull(index);
    else if (value.typeId() == QMetaType::LongLong)
        st.bindInt64(index, value.toLongLong());
    else
        st.bindText(index, value.toString());
}

// The value to store for a typed text in a column of this kind.
QVariant storedValue(const ResultColumn &column, const QString &text)
{
    if (column.kind == schema::ColumnKind::Integer) {
        const QString typed = typedValue(text);
        bool ok = false;
        const qint64 whole = typed.toLongLong(&ok);
        if (!typed.isEmpty() && !ok)
            throw DbError(QStringLiteral("%1只能填写整数，“%2”不是整数。").arg(column.name, text));
        return typed.isEmpty() ? QVariant() : QVariant(whole);
    }
    if (column.kind == schema::ColumnKind::Date) {
        const QString typed = typedValue(text);
        const QDate date = dates::fromTyped(typed);
        if (!typed.isEmpty() && !date.isValid())
            throw DbError(QStringLiteral("%1只能填写日期（例如 %2），“%3”不是有效的日期。")
                              .arg(column.name, dates::display(QDate::currentDate()), text));
        return typed.isEmpty() ? QVariant() : QVariant(dates::toStored(date));
    }
    return text;
}

} // namespace

QString typedValue(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KC).trimmed();
}

qint64 typedInteger(const QString &text)
{
    const QString value = typedValue(text);
    bool ok = false;
    const qint64 whole = value.toLongLong(&ok);
    if (ok)
        return whole;
    const double number = value.toDouble(&ok);
    return ok ? qRound64(number) : 0;
}

RowWriter::RowWriter(SqliteFile &db, const QString &table, const QString &rowidName,
                     const std::vector<ResultColumn> &columns)
    : m_db(db)
    , m_table(quotedIdentifier(table))
    , m_rowidName(rowidName)
    , m_columns(columns)
{
}

RowWriter::Assignment RowWriter::assignment(const Values &values) const
{
    Assignment a;
    for (size_t c = 0; c < m_columns.size(); ++c) {
        if (!values[c])
            continue;
        const ResultColumn &column = m_columns[c];
        if (column.origin.isEmpty())
            throw DbError(QStringLiteral("Field '%1' cannot be modified").arg(column.name));
        a.values << storedValue(column, *values[c]);
        a.names << quotedIdentifier(column.origin);
    }
    return a;
}

bool RowWriter::update(qint64 rowid, const Values &values)
{
    const Assignment a = assignment(values);
    if (a.names.isEmpty())
        return false;
    QStringList sets;
    for (const QString &name : a.names)
        sets << name + QStringLiteral(" = ?");
    Statement st(
        m_db,
        QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?").arg(m_table, sets.join(u','), m_rowidName).toUtf8());
    for (int i = 0; i < a.values.size(); ++i)
        bindValue(st, i + 1, a.values[i]);
    st.bindInt64(int(a.values.size()) + 1, rowid);
    st.step();
    if (m_db.changes() == 0)
        throw DbError(dberror::rowMissing);
    return true;
}

qint64 RowWriter::insert(const Values &values)
{
    const Assignment a = assignment(values);
    const QString sql = a.names.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_table)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(m_table, a.names.join(u','),
                                       QStringList(a.names.size(), QStringLiteral("?")).join(u','));
    Statement st(m_db, sql.toUtf8());
    for (int i = 0; i < a.values.size(); ++i)
        bindValue(st, i + 1, a.values[i]);
    st.step();
    return m_db.lastInsertRowId();
}

void RowWriter::remove(qint64 rowid)
{
    Statement st(m_db, QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(m_table, m_rowidName).toUtf8());
    st.bindInt64(1, rowid);
    st.step();
}

void RowWriter::reload(qint64 rowid, Snapshot &snapshot, quint32 row)
{
    QStringList names;
    std::vector<int> columns;
    for (size_t c = 0; c < m_columns.size(); ++c) {
        if (!m_columns[c].origin.isEmpty()) {
            names << quotedIdentifier(m_columns[c].origin);
            columns.push_back(int(c));
        }
    }
    if (names.isEmpty())
        return;
    Statement st(m_db, QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                           .arg(names.join(u','), m_table, m_rowidName)
                           .toUtf8());
    st.bindInt64(1, rowid);
    if (!st.step())
        return;
    for (size_t i = 0; i < columns.size(); ++i) {
        const int c = int(i);
        const bool isNull = st.isNull(c);
        const QByteArrayView text = st.bytes(c);
        snapshot.put(row, columns[i], text.data(), text.size(), isNull);
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/dbfixture.h"

#include "db/dberror.h"
#include "db/schema.h"
#include "db/sqlite.h"

#include <QDir>

namespace {

// Runs `work` on the fixture's file; a failure ends the test run.
template <class Work> auto onFile(const QString &path, const QString &sql, Work &&work)
{
    try {
        SqliteFile file(path, SqliteFile::Mode::Create);
        return work(file);
    } catch (const DbError &e) {
        qFatal("fixture SQL failed: %s: %s", qPrintable(sql), qPrintable(e.message()));
    }
}

} // namespace

Fixture::Fixture()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("date"));
    QStringList statements = schema::createStatements();
    statements << schema::insertDraftStatement();
    onFile(path(), statements.join(u'\n'), [&](SqliteFile &file) {
        for (const QString &sql : statements)
            file.exec(sql.toUtf8());
    });
}

Fixture::Fixture(const Fixture &prepared)
{
    const QDir from(prepared.dir() + QStringLiteral("/date"));
    const QDir to(m_dir.path() + QStringLiteral("/date"));
    to.mkpath(QStringLiteral("."));
    for (const QString &file : from.entryList(QDir::Files))
        if (!QFile::copy(from.filePath(file), to.filePath(file)))
            qFatal("cannot copy %s", qPrintable(from.filePath(file)));
}

void Fixture::exec(const QString &sql) const
{
    onFile(path(), sql, [&](SqliteFile &file) { file.exec(sql.toUtf8()); });
}

void Fixture::insert(const QString &table, const QStringList &columns, const QList<QVariant> &values) const
{
    const QString sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(table, columns.join(u','), QStringList(columns.size(), QStringLiteral("?")).join(u','));
    onFile(path(), sql, [&](SqliteFile &file) {
        Statement st(file, sql.toUtf8());
        for (int i = 0; i < values.size(); ++i) {
            const QVariant &v = values[i];
            if (v.isNull())
                st.bindNull(i + 1);
            else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
                st.bindInt64(i + 1, v.toLongLong());
            else
                st.bindText(i + 1, v.toString());
        }
        st.step();
    });
}

QStringList Fixture::column(const QString &sql) const
{
    return onFile(path(), sql, [&](SqliteFile &file) {
        Statement st(file, sql.toUtf8());
        QStringList out;
        while (st.step())
            out << st.text(0);
        return out;
    });
}

QString Fixture::value(const QString &sql) const
{
    const QStringList values = column(sql);
    return values.isEmpty() ? QString() : values.first();
}

int Fixture::count(const QString &table) const
{
    return value(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt();
}

WorkingDirectory::WorkingDirectory(const QString &dir)
    : m_previous(QDir::currentPath())
{
    QDir::setCurrent(dir);
}

WorkingDirectory::~WorkingDirectory()
{
    QDir::setCurrent(m_previous);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/recoveryfile.h"

#include "db/datasource.h"
#include "db/query.h"
#include "db/schema.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <sys/stat.h>

namespace recovery {
namespace {

const QByteArray magic = "shihai-recovery 1 ";
// A file larger than this was not written by the program (its texts would not fit in memory).
constexpr qint64 largestFile = qint64(1) << 30;

QByteArray checksum(const QByteArray &body)
{
    return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
}

QJsonObject toJson(const Fingerprint &f)
{
    return {{QStringLiteral("path"), f.path},
            {QStringLiteral("device"), QString::number(f.device)},
            {QStringLiteral("inode"), QString::number(f.inode)}};
}

std::optional<Fingerprint> fingerprintFromJson(const QJsonValue &value)
{
    const QJsonObject o = value.toObject();
    const QJsonValue path = o.value(QStringLiteral("path"));
    bool deviceOk = false, inodeOk = false;
    Fingerprint f;
    f.device = o.value(QStringLiteral("device")).toString().toULongLong(&deviceOk);
    f.inode = o.value(QStringLiteral("inode")).toString().toULongLong(&inodeOk);
    if (!path.isString() || !deviceOk || !inodeOk)
        return std::nullopt;
    f.path = path.toString();
    return f;
}

// A row as written by encode, naming a table and columns the program has; nullopt otherwise.
std::optional<Row> rowFromJson(const QJsonValue &value)
{
    const QJsonObject o = value.toObject();
    Row row;
    row.table = o.value(QStringLiteral("table")).toString();
    const QStringList columns = schema::columnsOf(row.table);
    if (columns.isEmpty())
        return std::nullopt;
    const QJsonValue rowid = o.value(QStringLiteral("rowid"));
    if (rowid.isString()) {
        bool ok = false;
        row.rowid = rowid.toString().toLongLong(&ok);
        if (!ok)
            return std::nullopt;
    } else if (!rowid.isNull()) {
        return std::nullopt;
    }
    const QJsonValue fields = o.value(QStringLiteral("fields"));
    if (!fields.isArray() || fields.toArray().isEmpty())
        return std::nullopt;
    for (const QJsonValue &f : fields.toArray()) {
        const QJsonValue column = f.toObject().value(QStringLiteral("column"));
        const QJsonValue text = f.toObject().value(QStringLiteral("text"));
        if (!column.isString() || !text.isString() || !columns.contains(column.toString()))
            return std::nullopt;
        for (const Field &seen : std::as_const(row.fields))
            if (seen.column == column.toString())
                return std::nullopt;
        row.fields << Field{column.toString(), text.toString()};
    }
    return row;
}

} // namespace

std::optional<Row> unwrittenRow(const Query &query, int typingColumn, const QString &typingText)
{
    const int current = query.currentRow();
    if (!query.isOpen() || query.isReadOnly() || current < 0)
        return std::nullopt;
    const std::vector<ResultColumn> &columns = query.columns();
    const bool typing = typingColumn >= 0 && typingColumn < int(columns.size());
    const Query::State state = query.state();
    if (state == Query::State::Browse && !typing)
        return std::nullopt;
    Row row{query.tableName(), std::nullopt, {}};
    if (state != Query::State::Insert)
        row.rowid = query.rowid(current);
    for (int c = 0; c < int(columns.size()); ++c) {
        if (columns[c].origin.isEmpty())
            continue;
        std::optional<QString> value = query.pendingText(c);
        if (typing && c == typingColumn) {
            const QString original = state == Query::State::Insert ? QString() : query.postedText(current, c);
            value = typingText == original ? std::nullopt : std::optional<QString>(typingText);
        }
        if (value)
            row.fields << Field{columns[c].origin, *value};
    }
    if (row.fields.isEmpty())
        return std::nullopt;
    return row;
}

Fingerprint fingerprintOf(const QString &databasePath)
{
    const QFileInfo info(databasePath);
    Fingerprint f;
    f.path = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    struct stat st {};
    if (::stat(QFile::encodeName(f.path).constData(), &st) == 0) {
        f.device = quint64(st.st_dev);
        f.inode = quint64(st.st_ino);
    }
    return f;
}

QString fileFor(const QString &databasePath)
{
    return databasePath + QStringLiteral(".recovery");
}

QString fallbackFileFor(const Fingerprint &database)
{
    const QByteArray name =
        QCryptographicHash::hash(database.path.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/shihai/recovery/%1.recovery").arg(QString::fromLatin1(name));
}

// The first line carries the format and the checksum of everything after it; the rest is indented
// JSON, so a file set aside can still be read by eye.
QByteArray encode(const Fingerprint &database, const QList<Row> &rows)
{
    QJsonArray list;
    for (const Row &row : rows) {
        QJsonArray fields;
        for (const Field &f : row.fields)
            fields.append(
                QJsonObject{{QStringLiteral("column"), f.column}, {QStringLiteral("text"), f.text}});
        list.append(QJsonObject{
            {QStringLiteral("table"), row.table},
            {QStringLiteral("rowid"), row.rowid ? QJsonValue(QString::number(*row.rowid)) : QJsonValue()},
            {QStringLiteral("fields"), fields}});
    }
    const QByteArray body = QJsonDocument(QJsonObject{{QStringLiteral("database"), toJson(database)},
                                                      {QStringLiteral("rows"), list}})
                                .toJson(QJsonDocument::Indented);
    return magic + checksum(body) + '\n' + body;
}

Contents decode(const QByteArray &bytes, const Fingerprint &database)
{
    const Contents damaged{Problem::Damaged, {}};
    const qsizetype end = bytes.indexOf('\n');
    if (!bytes.startsWith(magic) || end < 0)
        return damaged;
    const QByteArray body = bytes.mid(end + 1);
    if (bytes.mid(magic.size(), end - magic.size()) != checksum(body))
        return damaged;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return damaged;
    const std::optional<Fingerprint> owner =
        fingerprintFromJson(doc.object().value(QStringLiteral("database")));
    const QJsonValue rows = doc.object().value(QStringLiteral("rows"));
    if (!owner || !rows.isArray())
        return damaged;
    Contents contents;
    for (const QJsonValue &value : rows.toArray()) {
        const std::optional<Row> row = rowFromJson(value);
        if (!row)
            return damaged;
        contents.rows << *row;
    }
    if (!(*owner == database))
        contents.problem = Problem::OtherDatabase;
    return contents;
}

std::optional<Contents> read(const QString &file, const Fingerprint &database)
{
    QFile f(file);
    if (!f.exists())
        return std::nullopt;
    if (!f.open(QIODevice::ReadOnly) || f.size() > largestFile)
        return Contents{Problem::Damaged, {}};
    return decode(f.readAll(), database);
}

bool writeAtomically(const QString &file, const QByteArray &bytes)
{
    QSaveFile out(file); // commit flushes and syncs the temporary file, then renames it
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

QString setAside(const QString &file)
{
    const QString dated = file + QDateTime::currentDateTime().toString(QStringLiteral("-yyyyMMdd-hhmmss"));
    QString target = dated;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = dated + QStringLiteral("-%1").arg(n);
    return QFile::rename(file, target) ? target : QString();
}

} // namespace recovery

RecoveryKeeper::RecoveryKeeper(const QString &databasePath, const QList<Query *> &queries, QObject *parent)
    : QObject(parent)
    , m_file(recovery::fileFor(QFileInfo(databasePath).absoluteFilePath()))
    , m_fingerprint(recovery::fingerprintOf(databasePath))
    , m_fallback(recovery::fallbackFileFor(m_fingerprint))
    , m_queries(queries)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::keepNow);
    for (Query *q : queries) {
        DataSource *source = q->dataSource();
        connect(source, &DataSource::rowChanged, this, &RecoveryKeeper::changed);
        connect(source, &DataSource::rowInserted, this, &RecoveryKeeper::changed);
        connect(source, &DataSource::stateChanged, this, [this, q] { stateChanged(q); });
    }
}

// Not restarted by later keystrokes: under steady typing the file still follows every second.
void RecoveryKeeper::changed()
{
    if (!m_timer.isActive())
        m_timer.start(delayMs);
}

// A row written or given up leaves the file soon, so that a kill right after a save offers nothing.
void RecoveryKeeper::stateChanged(Query *query)
{
    if (query->state() == Query::State::Browse && m_kept)
        m_timer.start(0);
    else
        changed();
}

QList<recovery::Row> RecoveryKeeper::unwrittenRows() const
{
    QList<recovery::Row> rows;
    for (Query *q : m_queries) {
        const std::optional<Typing> typing = m_typing ? m_typing(q) : std::nullopt;
        if (auto row = typing ? recovery::unwrittenRow(*q, typing->column, typing->text)
                              : recovery::unwrittenRow(*q))
            rows << *row;
    }
    return rows;
}

QString RecoveryKeeper::leftFile() const
{
    for (const QString &file : {m_file, m_fallback})
        if (QFileInfo::exists(file))
            return file;
    return {};
}

bool RecoveryKeeper::keepNow()
{
    m_timer.stop();
    if (m_held)
        return true;
    const QList<recovery::Row> rows = unwrittenRows();
    if (rows.isEmpty()) {
        for (const QString &file : {m_file, m_fallback})
            if (m_kept || QFileInfo::exists(file))
                QFile::remove(file);
        m_kept = false;
        return true;
    }
    const QByteArray bytes = recovery::encode(m_fingerprint, rows);
    if (recovery::writeAtomically(m_file, bytes)) {
        if (QFileInfo::exists(m_fallback))
            QFile::remove(m_fallback); // an earlier copy there, now replaced by this one
        m_kept = true;
    } else {
        // The database's folder refuses new files (read-only): the user's own folder takes them.
        m_kept = QDir().mkpath(QFileInfo(m_fallback).path()) && recovery::writeAtomically(m_fallback, bytes);
    }
    return m_kept;
}

#include "tests/support/dbfixture.h"

#include "db/schema.h"

#include <QDir>

#include <sqlite3.h>

namespace {

// A raw handle for the fixture's own reads and writes.
struct Handle {
    explicit Handle(const QString &path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK)
            qFatal("cannot open fixture database %s", qPrintable(path));
    }
    ~Handle() { sqlite3_close(db); }
    sqlite3 *db = nullptr;
};

void check(sqlite3 *db, int rc, const QString &sql)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        qFatal("fixture SQL failed: %s: %s", qPrintable(sql), sqlite3_errmsg(db));
}

} // namespace

Fixture::Fixture()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("date"));
    Handle h(path());
    for (const QString &sql : schema::createStatements())
        check(h.db, sqlite3_exec(h.db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), sql);
    check(h.db,
          sqlite3_exec(h.db, schema::insertDraftStatement().toUtf8().constData(), nullptr, nullptr, nullptr),
          schema::insertDraftStatement());
}

void Fixture::exec(const QString &sql) const
{
    Handle h(path());
    check(h.db, sqlite3_exec(h.db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), sql);
}

void Fixture::insert(const QString &table, const QStringList &columns, const QList<QVariant> &values) const
{
    Handle h(path());
    const QString sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(table, columns.join(u','), QStringList(columns.size(), QStringLiteral("?")).join(u','));
    sqlite3_stmt *st = nullptr;
    check(h.db, sqlite3_prepare_v2(h.db, sql.toUtf8().constData(), -1, &st, nullptr), sql);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &v = values[i];
        if (v.isNull()) {
            sqlite3_bind_null(st, i + 1);
        } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
            sqlite3_bind_int64(st, i + 1, v.toLongLong());
        } else {
            const QByteArray text = v.toString().toUtf8();
            sqlite3_bind_text(st, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
    }
    check(h.db, sqlite3_step(st), sql);
    sqlite3_finalize(st);
}

QStringList Fixture::column(const QString &sql) const
{
    Handle h(path());
    sqlite3_stmt *st = nullptr;
    check(h.db, sqlite3_prepare_v2(h.db, sql.toUtf8().constData(), -1, &st, nullptr), sql);
    QStringList out;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const char *text = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
        out << (text ? QString::fromUtf8(text, sqlite3_column_bytes(st, 0)) : QString());
    }
    check(h.db, rc, sql);
    sqlite3_finalize(st);
    return out;
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

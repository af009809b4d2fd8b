// SPDX-License-Identifier: GPL-3.0-or-later
// A second copy of the program's data layer in its own process: posts through the queries in a
// loop (a new word, the draft, now and then a deletion) and reports each post that returned on
// stdout. Usage: faults_writer FILE PREFIX [COUNT]; without COUNT it runs until it is killed.
#include "db/database.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/query.h"
#include "db/schema.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <memory>

using namespace schema;

namespace {

void report(const char *what, const QString &key)
{
    std::printf("%s %s\n", what, key.toUtf8().constData());
    std::fflush(stdout);
}

// Runs a write again while the file is busy past the engine's own wait (the other process holds it
// long on a loaded machine); any other refusal ends the writer.
template <typename Write> void persist(Write write)
{
    for (int tries = 1;; ++tries) {
        try {
            write();
            return;
        } catch (const DbError &e) {
            if (QString::fromUtf8(e.what()) != QStringLiteral("database is locked") || tries >= 200)
                throw;
            // The engine refuses at once, without waiting, when waiting could deadlock.
            QThread::msleep(10);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const qint64 count = args.size() > 3 ? args[3].toLongLong() : -1;
    const char *step = "open";
    try {
        QObject owner;
        // Opening reads the file and may write to it: the other process can hold it as this one starts.
        std::unique_ptr<Database> opened;
        persist([&] { opened = std::make_unique<Database>(args[1], &owner); });
        Database &db = *opened;
        Query *words = db.Cizu_ADOQuery;
        Query *draft = db.Edit_ADOQuery;
        Query one(db.connection(), QStringLiteral("one"), QString());
        // Long enough that a post writes several pages, so a kill often lands inside one.
        const QString meaning(20000, u'义');
        for (qint64 i = 0; count < 0 || i < count; ++i) {
            const QString key = QStringLiteral("%1-%2").arg(args[2]).arg(i);
            step = "append";
            words->append();
            words->setText(colWord, key);
            words->setText(colMeaning, meaning);
            step = "post word";
            persist([&] { words->post(); });
            report("insert", key);

            step = "edit draft";
            draft->edit();
            draft->setText(colContent, key);
            step = "post draft";
            persist([&] { draft->post(); });
            report("draft", key);

            if (i % 5 == 4) {
                const QString gone = QStringLiteral("%1-%2").arg(args[2]).arg(i - 2);
                step = "remove";
                one.close();
                one.clearSql();
                one.addSql(QStringLiteral("select * from 词组 where 词组=") + dialect::literal(gone));
                persist([&] { one.open(); });
                persist([&] { one.remove(); });
                report("remove", gone);
            }
        }
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s: %s\n", step, e.what());
        return 1;
    }
    return 0;
}

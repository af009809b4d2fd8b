// shihai-evaluate: measures the rhyme books, the metre check and the classics file against the installed
// classics. Developer tool; prints Markdown for docs/.
#include "classics/classics.h"
#include "converter.h"
#include "prosody/check.h"
#include "sources.h"
#include "works.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>

using namespace prosody;
using namespace Qt::StringLiterals;

namespace {

QTextStream out(stdout);

QString dist()
{
    return builddb::SourcePaths::installed().nodeModule(QStringLiteral("chinese-poetry/dist"));
}

QString keyOf(const QString &author, const QString &firstLine)
{
    return author + u'\t' + builddb::firstClause(firstLine);
}

// 平仄 strings of 全唐诗 poems, by author and first clause in simplified characters.
QHash<QString, QStringList> tangStrains(const builddb::Converter &t2s)
{
    QHash<QString, QStringList> byKey;
    const QDir poems(QDir(dist()).filePath(QStringLiteral("quantangshi")));
    const QDir strains(QDir(dist()).filePath(QStringLiteral("strains/json")));
    for (const QString &name : poems.entryList({QStringLiteral("poet.tang.*.json")}, QDir::Files)) {
        if (!strains.exists(name))
            continue;
        QHash<QString, QStringList> strainsById;
        for (const QJsonValue &v : builddb::readJsonArray(strains.filePath(name))) {
            QStringList lines;
            for (const QJsonValue &s : v.toObject().value(QStringLiteral("strains")).toArray())
                lines << s.toString();
            strainsById.insert(v.toObject().value(QStringLiteral("id")).toString(), lines);
        }
        for (const QJsonValue &v : builddb::readJsonArray(poems.filePath(name))) {
            const QJsonObject poem = v.toObject();
            const QJsonArray paragraphs = poem.value(QStringLiteral("paragraphs")).toArray();
            if (paragraphs.isEmpty())
                continue;
            const QString key = keyOf(t2s(poem.value(QStringLiteral("author")).toString()),
                                      t2s(paragraphs.first().toString()));
            const QStringList s = strainsById.value(poem.value(QStringLiteral("id")).toString());
            if (!s.isEmpty() && !byKey.contains(key))
                byKey.insert(key, s);
        }
    }
    return byKey;
}

int strains(const RhymeBooks &books)
{
    const builddb::Converter t2s;
    const QHash<QString, QStringList> byKey = tangStrains(t2s);
    qsizetype matched = 0, poems = 0, compared = 0, agree = 0, both = 0, unknown = 0;
    QMap<QString, int> disagreements; // "字 ours→theirs"
    for (const builddb::PrimerPoem &poem :
         builddb::readPrimer(builddb::tangPrimerPath(dist()), QStringLiteral("唐"), t2s)) {
        ++poems;
        if (poem.lines.isEmpty())
            continue;
        const QStringList s = byKey.value(keyOf(poem.author, poem.lines.first()));
        if (s.isEmpty())
            continue;
        ++matched;
        const QString text = poem.lines.join(QString()), pattern = s.join(QString());
        if (text.size() != pattern.size())
            continue; // the two editions differ in this poem
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar theirs = pattern.at(i);
            if (theirs != u'平' && theirs != u'仄')
                continue;
            ++compared;
            const ToneClass ours = books.toneClass(Book::Pingshui, text.at(i).unicode());
            if (ours == ToneClass::Both)
                ++both, ++agree;
            else if (ours == ToneClass::Unknown)
                ++unknown;
            else if (className(ours) == theirs)
                ++agree;
            else
                ++disagreements[QStringLiteral("%1 %2→%3").arg(text.at(i), className(ours), theirs)];
        }
    }
    out << "## 平水韵 against the 平仄 strings of chinese-poetry (唐诗三百首)\n\n";
    out << QStringLiteral("- poems: %1, matched in 全唐诗 by author and first line: %2\n")
               .arg(poems)
               .arg(matched);
    out << QStringLiteral("- characters compared: %1; agreeing: %2 (%3%; %4 of them 中 in our book); "
                          "disagreeing: %5; not in our book: %6\n\n")
               .arg(compared)
               .arg(agree)
               .arg(100.0 * agree / std::max<qsizetype>(1, compared), 0, 'f', 2)
               .arg(both)
               .arg(compared - agree - unknown)
               .arg(unknown);
    QList<std::pair<int, QString>> sorted;
    for (auto it = disagreements.constBegin(); it != disagreements.constEnd(); ++it)
        sorted.append({it.value(), it.key()});
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    out << "| character, ours → theirs | times |\n|---|---:|\n";
    for (qsizetype i = 0; i < std::min<qsizetype>(20, sorted.size()); ++i)
        out << "| " << sorted.at(i).second << " | " << sorted.at(i).first << " |\n";
    out << Qt::endl;
    return 0;
}

int tangshi(const std::shared_ptr<const RhymeBooks> &books)
{
    const builddb::Converter t2s;
    const Checker checker(books);
    struct Tally {
        int poems = 0, ok = 0;
    };
    QMap<QString, Tally> bySection;
    QMap<QString, int> kinds;
    QStringList failures;
    for (const builddb::PrimerPoem &poem :
         builddb::readPrimer(builddb::tangPrimerPath(dist()), QStringLiteral("唐"), t2s)) {
        const QList<Poem> read = readPoems(poem.lines.join(u'\n'));
        if (read.size() != 1)
            continue;
        const QList<Line> &lines = read.first().lines;
        const bool shape = (lines.size() == 4 || lines.size() == 8) &&
                           std::all_of(lines.begin(), lines.end(),
                                       [&](const Line &l) { return l.size() == lines.first().size(); }) &&
                           (lines.first().size() == 5 || lines.first().size() == 7);
        if (!shape)
            continue;
        const PoemCheck check = checker.check(read.first(), Book::Pingshui);
        Tally &t = bySection[poem.form];
        ++t.poems;
        t.ok += check.ok();
        if (check.ok())
            continue;
        QStringList faults;
        for (const Finding &f : check.findings) {
            if (!f.isFault())
                continue;
            ++kinds[f.kind];
            faults << f.text;
        }
        failures << QStringLiteral("- %1《%2》（%3）%4：%5")
                        .arg(poem.author, poem.title, poem.form, check.summary(),
                             faults.join(QStringLiteral("；")));
    }
    out << "## The metre check on the regulated verse of 唐诗三百首 (平水韵)\n\n| section | poems | pass "
           "|\n|---|---:|---:|\n";
    int poems = 0, ok = 0;
    for (auto it = bySection.constBegin(); it != bySection.constEnd(); ++it) {
        out << "| " << it.key() << " | " << it->poems << " | " << it->ok << " |\n";
        poems += it->poems;
        ok += it->ok;
    }
    out << "| all | " << poems << " | " << ok << " |\n\n| fault | times |\n|---|---:|\n";
    for (auto it = kinds.constBegin(); it != kinds.constEnd(); ++it)
        out << "| " << it.key() << " | " << it.value() << " |\n";
    out << "\nThe poems that do not pass:\n\n" << failures.join(u'\n') << "\n" << Qt::endl;
    return 0;
}

// Ten searches of date/classics.db against a plain scan of the same lines with SQLite's instr(), and
// the rhyme words most used in a few groups.
int classicsFile(const QString &path)
{
    const std::unique_ptr<classics::Classics> c = classics::Classics::open(path);
    const classics::Totals t = c->totals();
    out << "## The classics file\n\n"
        << QStringLiteral(
               "- %1 poems, %2 lines, %3 characters; %4 poems of regulated verse with counted rhyme "
               "words\n\n")
               .arg(t.poems)
               .arg(t.lines)
               .arg(t.characters)
               .arg(t.regulated);

    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *scan = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM 句 WHERE instr(文, ?1) > 0", -1, &scan, nullptr);
    out << "| text | index | scan | index ms (count + 200 lines) | scan ms |\n|---|---:|---:|---:|---:|\n";
    int differing = 0;
    for (const QString &text : {u"山"_s, u"月"_s, u"明月"_s, u"春风"_s, u"不知"_s, u"江南"_s, u"白日依山"_s,
                                u"相思"_s, u"归去来"_s, u"人生如梦"_s}) {
        QElapsedTimer clock;
        clock.start();
        const int indexed = c->count(text).lines;
        c->lines(text, 0, 200);
        const double indexMs = clock.nsecsElapsed() / 1e6;
        clock.restart();
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(scan, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        sqlite3_step(scan);
        const int scanned = sqlite3_column_int(scan, 0);
        sqlite3_reset(scan);
        const double scanMs = clock.nsecsElapsed() / 1e6;
        differing += indexed != scanned;
        out << QStringLiteral("| %1 | %2 | %3 | %4 | %5 |\n")
                   .arg(text)
                   .arg(indexed)
                   .arg(scanned)
                   .arg(indexMs, 0, 'f', 1)
                   .arg(scanMs, 0, 'f', 1);
    }
    sqlite3_finalize(scan);
    sqlite3_close(db);
    out << QStringLiteral("\n%1 of 10 counts differ from the scan.\n\n").arg(differing);

    out << "| 平水韵 group | most rhymed on |\n|---|---|\n";
    for (const QString &group :
         {u"上平一东"_s, u"上平十一真"_s, u"下平一先"_s, u"下平七阳"_s, u"下平十一尤"_s}) {
        QStringList words;
        for (const classics::RhymeWord &w : c->rhymeWords(Book::Pingshui, group).mid(0, 12))
            words << QStringLiteral("%1 %2").arg(w.hanzi).arg(w.count);
        out << "| " << group << " | " << words.join(QStringLiteral(" · ")) << " |\n";
    }
    out << Qt::endl;
    return differing == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString command = args.value(1);
    const QString path = args.value(2, QStringLiteral("date/rhymebooks.db"));
    try {
        if (command == u"classics")
            return classicsFile(args.value(2, QStringLiteral("date/classics.db")));
        const std::shared_ptr<const RhymeBooks> books = RhymeBooks::load(path);
        if (command == u"strains")
            return strains(*books);
        if (command == u"tangshi")
            return tangshi(books);
    } catch (const std::exception &e) {
        QTextStream(stderr) << "shihai-evaluate: " << e.what() << Qt::endl;
        return 1;
    }
    QTextStream(stderr) << "usage: shihai-evaluate strains|tangshi [rhymebooks.db] | classics [classics.db]"
                        << Qt::endl;
    return 2;
}

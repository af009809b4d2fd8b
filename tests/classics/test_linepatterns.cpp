// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/lines/linepatterns.h"
#include "classics/lines/patterntext.h"
#include "db/sqlite.h"
#include "prosody/core/books.h"
#include "prosody/core/referencefile.h"
#include "prosody/reading/classes.h"
#include "prosody/text/reader.h"
#include "tests/classics/corpus.h"
#include "tests/testmain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace classics;
using namespace Qt::StringLiterals;
using prosody::Book;
using prosody::ToneClass;

Q_DECLARE_METATYPE(prosody::Book)

namespace {

// A verse line as a plain reading of the file sees it.
struct ScanLine {
    QString text;
    QString author;
    QString dynasty;
};

// Every verse line of the file in order: each entry cut at punctuation and blanks, a piece kept when
// it is all Chinese characters.
QList<ScanLine> readLines(const QString &file)
{
    QList<ScanLine> out;
    SqliteFile db(file, SqliteFile::Mode::ReadOnly);
    Statement stmt(db, "SELECT 句.文, 诗.作者, 诗.朝代 FROM 句 JOIN 诗 ON 诗.编号 = 句.诗 ORDER BY 句.编号");
    stmt.forEachRow([&](const Statement &s) {
        QString piece;
        const auto close = [&] {
            const QList<uint> chars = piece.toUcs4();
            if (!chars.isEmpty() && std::all_of(chars.begin(), chars.end(), prosody::isVerseChar))
                out << ScanLine{piece, s.text(1), s.text(2)};
            piece.clear();
        };
        for (const char32_t c : s.text(0).toUcs4()) {
            if (prosody::isLineBreak(c) || QChar::isPunct(c))
                close();
            else
                piece += QString::fromUcs4(&c, 1);
        }
        close();
    });
    return out;
}

int groupIndex(const prosody::RhymeBooks &books, Book book, const QString &name)
{
    const auto &groups = books.groups(book);
    for (int g = 0; g < groups.size(); ++g)
        if (groups.at(g).name == name)
            return g;
    return -1;
}

// Whether a line answers the query, read character by character from the books.
bool answers(const prosody::RhymeBooks &books, const ScanLine &l, const LineQuery &q)
{
    prosody::Line line;
    for (const char32_t c : l.text.toUcs4())
        line.chars << c;
    if (q.wantedLength() != 0 && line.size() != q.wantedLength())
        return false;
    const QList<ToneClass> classes = prosody::classesOf(books, line, q.book);
    for (qsizetype i = 0; i < q.pattern.size(); ++i)
        if (q.pattern.at(i) != ToneClass::Both && !prosody::maybe(classes.at(i), q.pattern.at(i)))
            return false;
    for (const CharAt &a : q.at)
        if (a.place >= line.size() || line.chars.at(a.place) != a.hanzi)
            return false;
    if (q.rhymeGroup) {
        const auto ms = books.bookMemberships(q.book, line.chars.last());
        if (std::none_of(ms.begin(), ms.end(), [&](const auto &m) { return m.group == *q.rhymeGroup; }))
            return false;
    }
    return (q.dynasty.isEmpty() || l.dynasty == q.dynasty) && (q.author.isEmpty() || l.author == q.author);
}

} // namespace

// Lines by their tones on a file built from the test's own corpus, against a plain reading of its
// lines; the pattern and places as typed.
class LinePatternsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;
    std::shared_ptr<const prosody::RhymeBooks> m_books;
    std::unique_ptr<LinePatterns> m_patterns;
    QList<ScanLine> m_lines;

    LineQuery query(const QString &pattern, Book book = Book::Pingshui, const QString &group = {},
                    const QString &places = {})
    {
        LineQuery q;
        q.pattern = parsePattern(pattern).pattern;
        q.book = book;
        if (!group.isEmpty())
            q.rhymeGroup = groupIndex(*m_books, book, group);
        q.at = parsePlaces(places).at;
        return q;
    }
    QStringList texts(const LineQuery &q, int offset = 0, int limit = 1000)
    {
        QStringList out;
        for (const PatternLine &l : m_patterns->lines(q, offset, limit))
            out << l.text;
        return out;
    }

private slots:
    void initTestCase()
    {
        m_file = corpus::buildClassics(m_dir.path());
        m_books = prosody::loadRhymeBooks(m_dir.filePath(u"date/rhymebooks.db"_s));
        m_patterns = LinePatterns::open(m_file, m_books);
        m_lines = readLines(m_file);
        QVERIFY(m_lines.size() > 25);
    }

    void searchesAgreeWithAPlainReading_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<Book>("book");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("places");
        QTest::addColumn<QString>("dynasty");
        QTest::addColumn<QString>("author");
        QTest::addColumn<int>("found"); // at least, so that no row passes by finding nothing
        QTest::newRow("every line of five")
            << u"中中中中中"_s << Book::Pingshui << QString() << QString() << QString() << QString() << 20;
        QTest::newRow("every line of seven")
            << u"◎◎◎◎◎◎◎"_s << Book::Pingshui << QString() << QString() << QString() << QString() << 5;
        QTest::newRow("a pattern") << u"平中中中平"_s << Book::Pingshui << QString() << QString() << QString()
                                   << QString() << 2;
        QTest::newRow("marks") << u"○◎◎◎○"_s << Book::Pingshui << QString() << QString() << QString()
                               << QString() << 2;
        QTest::newRow("a level end") << u"中中中中平"_s << Book::Pingshui << QString() << QString()
                                     << QString() << QString() << 8;
        QTest::newRow("an oblique end, modern")
            << u"中中中中仄"_s << Book::Xinyun << QString() << QString() << QString() << QString() << 1;
        QTest::newRow("rhyme 七阳") << u"中中中中中"_s << Book::Pingshui << u"下平七阳"_s << QString()
                                    << QString() << QString() << 3;
        QTest::newRow("rhyme 八庚") << u"中中中中中"_s << Book::Pingshui << u"下平八庚"_s << QString()
                                    << QString() << QString() << 3;
        QTest::newRow("rhyme 十一庚, modern")
            << u"中中中中中"_s << Book::Xinyun << u"十一庚"_s << QString() << QString() << QString() << 3;
        QTest::newRow("a character at a place")
            << u"中中中中中"_s << Book::Pingshui << QString() << u"2=月"_s << QString() << QString() << 1;
        QTest::newRow("two places") << u"中中中中中"_s << Book::Pingshui << QString() << u"1=明 2=月"_s
                                    << QString() << QString() << 1;
        QTest::newRow("a place and a pattern")
            << u"平中中中中"_s << Book::Pingshui << QString() << u"2=月"_s << QString() << QString() << 1;
        QTest::newRow("a place, any length")
            << QString() << Book::Pingshui << QString() << u"1=湖"_s << QString() << QString() << 3;
        QTest::newRow("a dynasty") << u"中中中中中中中"_s << Book::Pingshui << QString() << QString()
                                   << u"宋"_s << QString() << 3;
        QTest::newRow("a poet") << u"中中中中中"_s << Book::Pingshui << QString() << QString() << QString()
                                << u"吴八"_s << 4;
        QTest::newRow("a poet of another dynasty")
            << u"中中中中中"_s << Book::Pingshui << QString() << QString() << u"宋"_s << u"张九"_s << 0;
        QTest::newRow("a poet and a place")
            << u"中中中中中"_s << Book::Pingshui << QString() << u"3=晚"_s << QString() << u"赵六"_s << 1;
    }

    void searchesAgreeWithAPlainReading()
    {
        QFETCH(QString, pattern);
        QFETCH(Book, book);
        QFETCH(QString, group);
        QFETCH(QString, places);
        QFETCH(QString, dynasty);
        QFETCH(QString, author);
        QFETCH(int, found);
        LineQuery q = query(pattern, book, group, places);
        q.dynasty = dynasty;
        q.author = author;
        QStringList expected;
        QMap<QString, int> byDynasty;
        for (const ScanLine &l : m_lines)
            if (answers(*m_books, l, q))
                expected << l.text, ++byDynasty[l.dynasty];
        QVERIFY2(expected.size() >= found, qPrintable(expected.join(u' ')));
        QCOMPARE(texts(q), expected);
        const Counts counts = m_patterns->count(q);
        QCOMPARE(counts.lines, expected.size());
        QMap<QString, int> counted;
        for (const DynastyCount &d : counts.byDynasty)
            counted[d.dynasty] = d.lines;
        QCOMPARE(counted, byDynasty);
        // Page by page, the same lines.
        QCOMPARE(texts(q, 1, 2), expected.mid(1, 2));
    }

    void linesCarryTheirEntryAndPoem()
    {
        // 行 ends a line of 下平七阳 and of 下平八庚; 中华新韵 reads it 平 and 去 (中), so a level and
        // an oblique end both find it; a clause beside a lost character (孤□照水寒) is no line.
        QVERIFY(texts(query(u"中中中中中"_s, Book::Pingshui, u"下平七阳"_s)).contains(u"此去雁成行"_s));
        QVERIFY(texts(query(u"中中中中中"_s, Book::Pingshui, u"下平八庚"_s)).contains(u"此去雁成行"_s));
        QVERIFY(texts(query(u"中中中中平"_s, Book::Xinyun)).contains(u"此去雁成行"_s));
        QVERIFY(texts(query(u"中中中中仄"_s, Book::Xinyun)).contains(u"此去雁成行"_s));
        QVERIFY(!texts(query(u"中中中中仄"_s, Book::Pingshui)).contains(u"此去雁成行"_s));
        QVERIFY(texts(query(u"中中中中中"_s)).contains(u"风吹𠀀草动"_s));
        QVERIFY(!texts(query(QString(), Book::Pingshui, {}, u"1=孤"_s)).contains(u"孤照水寒"_s));

        const QList<PatternLine> found = m_patterns->lines(query(u"平中中中平"_s), 0, 1);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().text, u"城头晚角鸣"_s);
        QCOMPARE(found.first().entry, u"城头晚角鸣，客子正宵行。"_s);
        QCOMPARE(found.first().author, u"王五"_s);
        QCOMPARE(found.first().dynasty, u"唐"_s);
        const std::unique_ptr<Classics> classics = Classics::open(m_file);
        QCOMPARE(classics->poem(found.first().poem)->lines.first(), found.first().entry);
    }

    void anOlderFileSaysHowToRebuildIt()
    {
        QTemporaryDir dir;
        const QString older = dir.filePath(u"classics.db"_s);
        QVERIFY(QFile::copy(m_file, older));
        SqliteFile(older, SqliteFile::Mode::ReadWrite).exec("DROP TABLE 句律");
        try {
            LinePatterns::open(older, m_books);
            QFAIL("an older file opened");
        } catch (const ClassicsError &e) {
            QVERIFY2(e.message().contains(u"旧版") && e.message().contains(u"shihai-builddb --classics"),
                     qPrintable(e.message()));
        }
    }

    // shihai-classics lines on the same file: its statuses, its lines and its JSON.
    void theCommandFindsTheSameLines_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after the files
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said"); // the start of standard output, or a part of standard error
        QTest::newRow("found") << QStringList{u"lines"_s, u"--pattern"_s, u"平中中中平"_s} << 0
                               << u"共 2 句：唐 2\n城头晚角鸣　——王五《城头》（唐）\n"_s;
        QTest::newRow("a rhyme group by its end")
            << QStringList{u"lines"_s, u"--pattern"_s, u"◎◎◎◎◎"_s, u"--rhyme"_s,
                           u"七阳"_s,  u"--limit"_s,   u"0"_s}
            << 0 << u"共 5 句：唐 5\n"_s;
        QTest::newRow("none") << QStringList{u"lines"_s, u"--pattern"_s, u"仄仄仄仄仄"_s} << 1
                              << u"没有这样的句子"_s;
        QTest::newRow("a sign unread")
            << QStringList{u"lines"_s, u"--pattern"_s, u"平x"_s} << 2 << u"「x」不认识"_s;
        QTest::newRow("no subcommand") << QStringList{u"--pattern"_s, u"平"_s} << 2 << u"子命令"_s;
        QTest::newRow("no pattern") << QStringList{u"lines"_s} << 2 << u"--pattern"_s;
        QTest::newRow("a group the book lacks")
            << QStringList{u"lines"_s, u"--pattern"_s, u"平"_s, u"--rhyme"_s, u"一麻"_s} << 2
            << u"没有韵部「一麻」"_s;
        QTest::newRow("a place past the pattern")
            << QStringList{u"lines"_s, u"--pattern"_s, u"平平"_s, u"--at"_s, u"3=月"_s} << 2
            << u"第 3 字超出"_s;
        QTest::newRow("a dynasty unknown")
            << QStringList{u"lines"_s, u"--pattern"_s, u"平"_s, u"--dynasty"_s, u"汉"_s} << 2
            << u"没有朝代「汉」"_s;
        QTest::newRow("no classics file") << QStringList{u"lines"_s, u"--pattern"_s, u"平"_s, u"--classics"_s,
                                                         u"/nonexistent/classics.db"_s}
                                          << 3 << u"找不到古典诗词文件"_s;
    }

    void theCommandFindsTheSameLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, said);
        QProcess command;
        command.start(
            QStringLiteral(SHIHAI_CLASSICS_EXE),
            QStringList{u"--classics"_s, m_file, u"--books"_s, m_dir.filePath(u"date/rhymebooks.db"_s)} +
                arguments);
        QVERIFY(command.waitForFinished(30000));
        const QString out = QString::fromUtf8(command.readAllStandardOutput());
        const QString err = QString::fromUtf8(command.readAllStandardError());
        QCOMPARE(command.exitCode(), status);
        QVERIFY2(status == 2 || status == 3 ? err.contains(said) : out.startsWith(said),
                 qPrintable(out + err));
    }

    void theCommandWritesJson()
    {
        QProcess command;
        command.start(QStringLiteral(SHIHAI_CLASSICS_EXE),
                      {u"lines"_s, u"--pattern"_s, u"中中中中中中中"_s, u"--json"_s, u"--offset"_s, u"2"_s,
                       u"--limit"_s, u"1"_s, u"--classics"_s, m_file});
        QVERIFY(command.waitForFinished(30000));
        QCOMPARE(command.exitCode(), 0);
        const QJsonObject o = QJsonDocument::fromJson(command.readAllStandardOutput()).object();
        QCOMPARE(o.value(u"count"_s).toInt(), m_patterns->count(query(u"中中中中中中中"_s)).lines);
        const QJsonArray lines = o.value(u"lines"_s).toArray();
        QCOMPARE(lines.size(), 1);
        const PatternLine third = m_patterns->lines(query(u"中中中中中中中"_s), 2, 1).value(0);
        QCOMPARE(lines.first().toObject(), (QJsonObject{{u"text"_s, third.text},
                                                        {u"title"_s, third.title},
                                                        {u"author"_s, third.author},
                                                        {u"dynasty"_s, third.dynasty}}));
    }

    void patternsAndPlacesAsTyped_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("places");
        QTest::addColumn<QString>("read");  // the pattern as 平仄中, the places as place=character
        QTest::addColumn<QString>("error"); // a part of the message, empty when read
        QTest::newRow("words") << u"仄仄 平平仄"_s << u"5=月"_s << u"仄仄平平仄 5=月"_s << QString();
        QTest::newRow("marks") << u"●●○◎"_s << u"1＝明，4:月"_s << u"仄仄平中 1=明 4=月"_s << QString();
        QTest::newRow("a place twice") << u"平"_s << u"1=明 1=明"_s << u"平 1=明"_s << QString();
        QTest::newRow("other signs") << u"平x仄"_s << QString() << QString() << u"「x」不认识"_s;
        QTest::newRow("too long") << u"中中中中中中中中中中中中中中中中中"_s << QString() << QString()
                                  << u"最多 16"_s;
        QTest::newRow("no character") << u"平"_s << u"5="_s << QString() << u"5=月"_s;
        QTest::newRow("two characters") << u"平"_s << u"5=明月"_s << QString() << u"看不懂"_s;
        QTest::newRow("place 0") << u"平"_s << u"0=月"_s << QString() << u"1 到 16"_s;
        QTest::newRow("two at one place") << u"平"_s << u"1=明 1=月"_s << QString() << u"第 1 字"_s;
    }

    void patternsAndPlacesAsTyped()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, places);
        QFETCH(QString, read);
        QFETCH(QString, error);
        const ParsedPattern p = parsePattern(pattern);
        const ParsedPlaces at = parsePlaces(places);
        const QString errors = p.error + at.error;
        if (!error.isEmpty()) {
            QVERIFY2(errors.contains(error), qPrintable(errors));
            return;
        }
        QVERIFY2(errors.isEmpty(), qPrintable(errors));
        QStringList got{patternText(p.pattern)};
        for (const CharAt &a : at.at)
            got << u"%1=%2"_s.arg(a.place + 1).arg(QString::fromUcs4(&a.hanzi, 1));
        QCOMPARE(got.join(u' '), read);
    }
};

SHIHAI_TEST_MAIN(LinePatternsTest)
#include "test_linepatterns.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/classics.h"
#include "db/sqlite.h"
#include "prosody/core/referencefile.h"
#include "prosody/text/reader.h"
#include "tests/classics/corpus.h"
#include "tests/testmain.h"
#include "tools/classics/classics.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace classics;
using namespace Qt::StringLiterals;

namespace {

// A line as a plain scan sees it, with its poem.
struct ScanLine {
    QString text;
    QString title;
    QString dynasty;
};

// The runs of Chinese characters in a text.
QStringList runsOf(const QString &text)
{
    QStringList runs{QString()};
    for (const char32_t c : text.toUcs4()) {
        if (prosody::isVerseChar(c))
            runs.last() += QString::fromUcs4(&c, 1);
        else if (!runs.last().isEmpty())
            runs << QString();
    }
    runs.removeAll(QString());
    return runs;
}

// Lines holding every run of Chinese characters of text, found by reading each line.
QList<ScanLine> scan(const QList<ScanLine> &lines, const QString &text)
{
    const QStringList runs = runsOf(text);
    QList<ScanLine> out;
    if (runs.isEmpty())
        return out;
    for (const ScanLine &l : lines)
        if (std::all_of(runs.begin(), runs.end(), [&](const QString &r) { return l.text.contains(r); }))
            out << l;
    return out;
}

QString byDynasty(const Counts &counts)
{
    QStringList out;
    for (const DynastyCount &c : counts.byDynasty)
        out << c.dynasty + QString::number(c.lines);
    return out.join(u' ');
}

QString scanByDynasty(const QList<ScanLine> &found, const QStringList &order)
{
    QStringList out;
    for (const QString &d : order) {
        const auto n =
            std::count_if(found.begin(), found.end(), [&](const ScanLine &l) { return l.dynasty == d; });
        if (n > 0)
            out << d + QString::number(n);
    }
    return out.join(u' ');
}

// Every text of one to four characters in the lines, cut at anything that is not a Chinese character.
QStringList textsIn(const QList<ScanLine> &lines)
{
    QStringList texts;
    for (const ScanLine &l : lines) {
        const QList<uint> chars = l.text.toUcs4();
        for (qsizetype start = 0; start < chars.size(); ++start) {
            for (qsizetype n = 1; n <= 4 && start + n <= chars.size(); ++n) {
                const QString t =
                    QString::fromUcs4(reinterpret_cast<const char32_t *>(chars.constData()) + start, n);
                if (!prosody::isVerseChar(chars.at(start + n - 1)))
                    break;
                if (!texts.contains(t))
                    texts << t;
            }
        }
    }
    return texts;
}

} // namespace

// Searches of a file built from the test's own corpus, checked against a plain scan of its lines;
// and ten searches of the real file against a scan of its lines.
class ClassicsSearchTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Classics> m_classics;
    std::shared_ptr<const prosody::RhymeBooks> m_books;
    QList<ScanLine> m_lines; // the lines of the built poems, in the builder's order
    QStringList m_dynasties;

private slots:
    void initTestCase()
    {
        const QString classicsFile = corpus::buildClassics(m_dir.path());
        m_classics = Classics::open(classicsFile);
        m_books = prosody::loadRhymeBooks(m_dir.filePath(u"date/rhymebooks.db"_s));

        const builddb::Converter t2s;
        builddb::CorpusReport report;
        QList<builddb::ClassicPoem> poems =
            builddb::readClassics(m_dir.filePath(u"node_modules/chinese-poetry/dist"_s), t2s, report);
        m_dynasties = builddb::orderForSearch(poems);
        for (const builddb::ClassicPoem &p : poems)
            for (const QString &line : p.lines)
                m_lines << ScanLine{line, p.title, p.dynasty};
    }

    void searchesOfOneToFourCharactersAgreeWithAScan()
    {
        QStringList texts = textsIn(m_lines);
        QVERIFY(texts.size() > 200);
        texts << u"天落"_s       // across the comma of 望远天，落日
              << u"孤照"_s       // across the □ of 孤□照水寒
              << u"𠀀草"_s       // beyond the BMP
              << u"明月，湖上"_s // two runs, both in one line
              << u"明月，城头"_s // two runs, never in one line
              << u"江天"_s << u"，"_s;
        for (const QString &text : texts) {
            const QList<ScanLine> found = scan(m_lines, text);
            const Counts counts = m_classics->count(text);
            QVERIFY2(counts.lines == found.size(), qPrintable(text));
            QCOMPARE(byDynasty(counts), scanByDynasty(found, m_dynasties));
            QStringList listed, expected;
            for (const Example &e : m_classics->lines(text, 0, 100))
                listed << e.title + u'|' + e.text;
            for (const ScanLine &l : found)
                expected << l.title + u'|' + l.text;
            QCOMPARE(listed, expected);
        }
        QCOMPARE(m_classics->count(u"𠀀草"_s).lines, 1);
        QCOMPARE(m_classics->count(u"天落"_s).lines, 0);
        // Traditional characters find the lines of the standard ones they stand for.
        QVERIFY(!m_classics->lines(u"高楼望远"_s, 0, 10).isEmpty());
        QCOMPARE(m_classics->lines(u"高樓望遠"_s, 0, 10), m_classics->lines(u"高楼望远"_s, 0, 10));
        QCOMPARE(m_classics->count(u"孤燈"_s).lines, m_classics->count(u"孤灯"_s).lines);
    }

    void linesComePageByPageWithTheirPoems()
    {
        const QList<Example> all = m_classics->lines(u"孤"_s, 0, 100);
        QCOMPARE(all.size(), 4);
        QCOMPARE(m_classics->lines(u"孤"_s, 1, 2), all.mid(1, 2));
        QVERIFY(m_classics->lines(u"孤"_s, 4, 10).isEmpty());
        QCOMPARE(all.first().title, u"江楼"_s);
        QCOMPARE(all.first().author, u"张九"_s);
        QCOMPARE(all.first().dynasty, u"唐"_s);

        const std::optional<Poem> poem = m_classics->poem(all.first().poem);
        QVERIFY(poem);
        QCOMPARE(poem->lines, (QStringList{u"高楼望远天，落日照江船。"_s, u"独坐听风雨，孤灯伴客眠。"_s}));
        QCOMPARE(poem->source, u"唐诗三百首 · 全唐诗"_s);
        QCOMPARE(poem->form, u"诗"_s);
        const std::optional<Poem> yebo = m_classics->poem(m_classics->lines(u"野航"_s, 0, 1).value(0).poem);
        QVERIFY(yebo);
        QCOMPARE(yebo->notes, u"一作「孤帆泊野塘」"_s);
        QVERIFY(!m_classics->poem(999));
        QCOMPARE(m_classics->totals().poems, 10);
        QCOMPARE(m_classics->totals().lines, 17);
    }

    void rhymeWordsOrderAGroupByUse()
    {
        using prosody::Book;
        QStringList words;
        for (const RhymeWord &w : m_classics->rhymeWords(Book::Pingshui, u"下平八庚"_s))
            words << w.hanzi + QString::number(w.count);
        QCOMPARE(words.join(u' '), u"明2 行2 鸣2"_s);
        QStringList groups;
        for (const RhymeGroupCount &g : m_classics->rhymeGroupsOf(Book::Pingshui, u"行"_s))
            groups << g.group + QString::number(g.count);
        QCOMPARE(groups.join(u' '), u"下平八庚2 下平七阳1"_s);

        // The book lists 城 first; it is never rhymed on. 行 of 中华新韵 is listed as 平 and 去: the
        // count goes with its level reading.
        const auto members = [&](Book book, const QString &group) {
            QStringList out;
            const auto &list = m_books->groups(book);
            const auto it =
                std::find_if(list.begin(), list.end(), [&](const auto &g) { return g.name == group; });
            for (const CountedMember &m : m_classics->membersByUse(*m_books, book, int(it - list.begin())))
                out << QString::fromUcs4(&m.member.hanzi, 1) + prosody::toneName(m.member.tone) +
                           QString::number(m.count);
            return out.join(u' ');
        };
        QCOMPARE(members(Book::Pingshui, u"下平八庚"_s), u"鸣平2 行平2 明平2 城平0"_s);
        QCOMPARE(members(Book::Pingshui, u"下平七阳"_s), u"塘平1 航平1 行平1 阳平0"_s);
        QCOMPARE(members(Book::Xinyun, u"十一庚"_s), u"行平3 鸣平2 明平2 城平0 重平0 行去0"_s);
    }

    void aMissingOrDamagedFileIsExplainedInOneLine()
    {
        const auto messageOf = [](const QString &path) {
            try {
                Classics::open(path);
            } catch (const ClassicsError &e) {
                return e.message();
            }
            return QString();
        };
        const QString missing = messageOf(m_dir.filePath(u"none/classics.db"_s));
        QVERIFY2(missing.startsWith(u"找不到古典诗词文件"_s), qPrintable(missing));

        QFile garbage(m_dir.filePath(u"garbage.db"_s));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(8192, 'x'));
        garbage.close();
        const QString damaged = messageOf(garbage.fileName());
        QVERIFY2(damaged.contains(u"已损坏"_s), qPrintable(damaged));
        // Another SQLite file: the rhyme books.
        const QString other = messageOf(m_dir.filePath(u"date/rhymebooks.db"_s));
        QVERIFY2(other.contains(u"已损坏"_s), qPrintable(other));
        for (const QString &message : {missing, damaged, other}) {
            QVERIFY(message.contains(u"shihai-builddb --classics date/classics.db"_s));
            QVERIFY(!message.contains(u'\n'));
        }
    }

    // The file the set-up builds from the installed corpus: ten searches against a scan of its lines.
    void theRealFileAgreesWithAScan()
    {
        const QString path = qEnvironmentVariable("SHIHAI_SOURCE_DIR") + u"/date/classics.db"_s;
        if (!QFileInfo::exists(path))
            QSKIP("date/classics.db is not built");
        const std::unique_ptr<Classics> real = Classics::open(path);
        QList<std::pair<qint64, QString>> lines;
        {
            const SqliteFile file(path, SqliteFile::Mode::ReadOnly);
            Statement stmt(file, QByteArrayLiteral("SELECT 编号, 文 FROM 句 ORDER BY 编号"));
            stmt.forEachRow([&](const Statement &s) { lines.append({s.int64(0), s.text(1)}); });
        }
        QCOMPARE(lines.size(), real->totals().lines);

        for (const QString &text : {u"山"_s, u"月"_s, u"明月"_s, u"春风"_s, u"不知"_s, u"江南"_s,
                                    u"白日依山"_s, u"相思"_s, u"归去来"_s, u"人生如梦"_s}) {
            QList<qint64> found;
            for (const auto &[id, line] : lines)
                if (line.contains(text))
                    found << id;
            QCOMPARE(real->count(text).lines, found.size());
            QList<qint64> listed;
            for (const Example &e : real->lines(text, 0, 200))
                listed << e.line;
            QCOMPARE(listed, found.mid(0, 200));
        }
    }
};

SHIHAI_TEST_MAIN(ClassicsSearchTest)
#include "test_classics_search.moc"

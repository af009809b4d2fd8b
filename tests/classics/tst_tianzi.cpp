// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/coupletpairs.h"
#include "classics/tianzi/caretplace.h"
#include "classics/tianzi/continuations.h"
#include "classics/tianzi/suggester.h"
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "tests/classics/corpus.h"
#include "tests/testmain.h"

#include <QTemporaryDir>

using namespace classics::tianzi;
using namespace Qt::StringLiterals;

namespace {

QList<char32_t> chars(const QString &text)
{
    QList<char32_t> out;
    for (const uint c : text.toUcs4())
        out.append(c);
    return out;
}

QStringList textsOf(const QList<Suggestion> &words)
{
    QStringList out;
    for (const Suggestion &s : words)
        out << s.text;
    return out;
}

} // namespace

// 填字 over a classics file built from a small corpus: 山居秋暝 of 王维, and a copy under 王十 whose
// first line differs, so that its other clauses are each in the file twice.
class TianziTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::shared_ptr<const prosody::RhymeBooks> m_books;
    std::unique_ptr<Continuations> m_table;

    int group(const QString &name) const
    {
        const auto &groups = m_books->groups(prosody::Book::Pingshui);
        for (int g = 0; g < groups.size(); ++g)
            if (groups.at(g).name == name)
                return g;
        return -1;
    }

private slots:
    void initTestCase()
    {
        const QString file = corpus::buildClassicsWithCouplets(m_dir.path());
        m_books = prosody::loadRhymeBooks(m_dir.filePath(u"date/rhymebooks.db"_s));
        m_table = Continuations::open(file);
    }
    void cleanup() { m_table->holdBack({}); }

    // What the masters wrote after the characters before the place, as words of the line's rhythm,
    // only where the form's 平仄 and the poem's rhyme allow it; each with its count and first line.
    void wordsFitThePlace_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("rhymeGroup");
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("absent");
        // 松 follows 明月 twice; two lines are too few to make a word of 松间.
        QTest::newRow("after two characters")
            << u"明月"_s << u"中仄平平仄"_s << QString() << u"松"_s << 2 << QString();
        QTest::newRow("a strict place wants the other class")
            << u"明月"_s << u"中仄仄平仄"_s << QString() << QString() << 0 << u"松"_s;
        // At the rhyme only the poem's group: 流 after 石上, never 照 or 来 of another group.
        QTest::newRow("the rhyme") << u"清泉石上"_s << u"平平仄仄平"_s << u"下平十一尤"_s << u"流"_s << 2
                                   << u"照"_s;
        QTest::newRow("a line's end without rhyme wants 仄")
            << u"清泉石上"_s << u"平平仄仄仄"_s << u"下平十一尤"_s << QString() << 0 << u"流"_s;
    }
    void wordsFitThePlace()
    {
        QFETCH(QString, before);
        QFETCH(QString, pattern);
        QFETCH(QString, rhymeGroup);
        QFETCH(QString, first);
        QFETCH(int, count);
        QFETCH(QString, absent);
        Place place;
        place.length = 5;
        place.before = chars(before);
        place.place = int(place.before.size());
        place.pattern = pattern;
        place.rhymed = !rhymeGroup.isEmpty() && pattern.endsWith(u'平');
        place.rhymeGroup = rhymeGroup.isEmpty() ? -1 : group(rhymeGroup);
        const Suggester suggester(*m_table, m_books);
        const QList<Suggestion> words = suggester.suggest(place, 30);
        for (const Suggestion &s : words)
            for (int i = 0; i < s.text.size(); ++i)
                QVERIFY2(suggester.fits(place, place.place + i, s.text.at(i).unicode()), qPrintable(s.text));
        if (!first.isEmpty()) {
            QVERIFY(!words.isEmpty());
            QCOMPARE(words.first().text, first);
            QCOMPARE(words.first().count, count);
            QCOMPARE(words.first().example.author, u"王维"_s);
            QVERIFY(words.first().example.text.contains(before + first.left(1)));
        }
        if (!absent.isEmpty())
            QVERIFY2(!textsOf(words).join(u' ').contains(absent), qPrintable(textsOf(words).join(u' ')));
    }

    // The free third place of a line of five leans to the class opposite its last: 自 (仄) and 归 (平)
    // stand there twice each and lead on alike (可, 浣), so only the lean puts 自 first before a 平
    // end, and 归 first before a 仄 end.
    void aFreeThirdPlaceLeansAgainstTheLast_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("before a 平 end") << u"中平中仄平"_s << u"自"_s << u"归"_s;
        QTest::newRow("before a 仄 end") << u"中仄中平仄"_s << u"归"_s << u"自"_s;
    }
    void aFreeThirdPlaceLeansAgainstTheLast()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, first);
        QFETCH(QString, second);
        Place place;
        place.length = 5;
        place.before = chars(u"甲乙"_s); // no context: the place's own habits alone
        place.place = 2;
        place.pattern = pattern;
        const QList<Suggestion> words = Suggester(*m_table, m_books).suggest(place, 30);
        const QStringList texts = textsOf(words);
        const qsizetype a = texts.indexOf(first), b = texts.indexOf(second);
        QVERIFY2(a >= 0 && b >= 0 && a < b, qPrintable(texts.join(u' ')));
        QCOMPARE(words.at(a).count, words.at(b).count);
    }

    // A poem held back takes its own clauses off the counts, as a measurement of it must.
    void aHeldBackPoemLeavesTheCounts()
    {
        QHash<qint64, QHash<char32_t, int>> own;
        for (const auto &[key, c] : entriesOf(chars(u"明月松间照"_s)))
            own[key][c] += 1;
        m_table->holdBack(own);
        const QList<Next> after = m_table->row(continuationKey(5, 2, chars(u"明月"_s)));
        QCOMPARE(after.size(), 1);
        QCOMPARE(after.first().count, 1);
        own.clear();
        for (const auto &[key, c] : entriesOf(chars(u"明月松间照"_s)))
            own[key][c] += 2;
        m_table->holdBack(own);
        QVERIFY(m_table->row(continuationKey(5, 2, chars(u"明月"_s))).isEmpty());
    }

    // The caret in a draft: its line and place as the check sees them, the punctuation a word needs
    // after a finished line, and only words the check lets pass.
    void theCaretOfADraft_data()
    {
        QTest::addColumn<QString>("draft");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("lead");
        QTest::addColumn<QString>("offered");
        const QString two = u"空山新雨后，天气晚来秋。\n"_s;
        QTest::newRow("inside a line") << two + u"明月"_s << 3 << 3 << QString() << u"松"_s;
        QTest::newRow("a new line") << two << 3 << 1 << QString() << QString();
        QTest::newRow("after a finished line") << two.left(5) << 2 << 1 << u"，"_s << QString();
        QTest::newRow("after a finished couplet") << two.left(11) << 3 << 1 << u"。\n"_s << QString();
        QTest::newRow("the rhyme of the couplet")
            << two + u"明月松间照，清泉石上"_s << 4 << 5 << QString() << u"流"_s;
    }
    void theCaretOfADraft()
    {
        QFETCH(QString, draft);
        QFETCH(int, line);
        QFETCH(int, place);
        QFETCH(QString, lead);
        QFETCH(QString, offered);
        const prosody::CheckRequest request{prosody::FormChoice{prosody::Form::Lvshi, 5},
                                            prosody::Book::Pingshui};
        const QList<prosody::PoemCheck> checks = prosody::checkAs(m_books, draft, request).value();
        const int caret = int(draft.size());
        const Suggester suggester(*m_table, m_books);
        const CaretWords found = wordsAtCaret(suggester, m_books, draft, caret, request, checks, 30);
        QCOMPARE(found.where.line, line);
        QCOMPARE(found.where.place, place);
        QCOMPARE(found.place.lead, lead);
        if (!offered.isEmpty())
            QVERIFY2(textsOf(found.words).contains(offered), qPrintable(textsOf(found.words).join(u' ')));
        const FaultGuard guard(m_books, draft, caret, request, nullptr, lead);
        for (const Suggestion &s : found.words)
            QVERIFY2(guard(s.text), qPrintable(s.text));
    }

    // The guard runs the real check: a word that breaks the rhyme is refused, one that keeps it passes.
    void theGuardRefusesAWordThatAddsAFault()
    {
        const QString draft = u"空山新雨后，天气晚来秋。\n明月松间照，清泉石上"_s;
        const prosody::CheckRequest request{prosody::FormChoice{prosody::Form::Lvshi, 5},
                                            prosody::Book::Pingshui};
        const FaultGuard guard(m_books, draft, int(draft.size()), request);
        QVERIFY(guard(u"流"_s));
        QVERIFY(!guard(u"照"_s));
    }
};

SHIHAI_TEST_MAIN(TianziTest)
#include "tst_tianzi.moc"

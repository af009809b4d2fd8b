#include "presentation/gelvmodel.h"
#include "tests/support/booksfixture.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using prosody::Severity;

namespace {

QStringList hanzi(const QList<GelvModel::Member> &members)
{
    QStringList out;
    for (const GelvModel::Member &m : members)
        out << m.hanzi;
    return out;
}

} // namespace

// The 格律 window's logic without the window: what is checked, where each finding points in the
// draft, and what the lookup shows.
class GelvModelTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

    // 仄起 quatrain: A B C D, rhyming on 东 and 风.
    const QString m_regular = u"木木天天木，天天木木东。天天天木木，木木木天风。"_s;

private slots:
    void initTestCase()
    {
        m_path = m_dir.filePath(u"date/rhymebooks.db"_s);
        BooksFixture books(m_path);
        books.add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东风红天"_s)
            .add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"蒙"_s, 2)
            .add(u"平水韵"_s, u"下平七阳"_s, u"平"_s, u"阳"_s)
            .add(u"平水韵"_s, u"上平十四寒"_s, u"平"_s, u"看安"_s)
            .add(u"平水韵"_s, u"去声十五翰"_s, u"去"_s, u"看汉"_s)
            .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"木"_s)
            .add(u"词林正韵"_s, u"第七部"_s, u"平"_s, u"看安"_s)
            .add(u"词林正韵"_s, u"第七部"_s, u"去"_s, u"看汉"_s)
            .add(u"中华新韵"_s, u"八寒"_s, u"平"_s, u"看"_s)
            .add(u"中华新韵"_s, u"八寒"_s, u"去"_s, u"看"_s)
            .add(u"中华新韵"_s, u"二波"_s, u"去"_s, u"木"_s)
            .add(u"中华新韵"_s, u"十一庚"_s, u"平"_s, u"东风红"_s)
            .add(u"中华新韵"_s, u"八寒"_s, u"平"_s, u"天"_s)
            .add(u"词林正韵"_s, u"第一部"_s, u"平"_s, u"东风红天"_s)
            .add(u"词林正韵"_s, u"第十五部"_s, u"入"_s, u"木"_s)
            .tune(u"忆江南"_s, 120, {u"望江南"_s})
            .ciForm(u"忆江南"_s, 1, 100,
                    {u"平平仄"_s, u"仄仄仄平平/1"_s, u"仄仄平平平仄仄"_s, u"平平仄仄仄平平/1"_s,
                     u"中仄仄平平/1"_s})
            .ungrouped(u"平水韵"_s, u"们"_s, u"平"_s)
            .reading(u"看"_s, u"kàn"_s)
            .reading(u"看"_s, u"kān"_s);
    }

    void aMissingFileIsSaidInOneLineUntilItIsThere()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"date/rhymebooks.db"_s);
        GelvModel model(path);
        QVERIFY(!model.load());
        QVERIFY(model.errorText().startsWith(u"找不到韵书文件"_s));
        QVERIFY(model.errorText().contains(u"shihai-builddb --rhymebooks"_s));
        QVERIFY(!model.errorText().contains(u'\n'));
        model.setDraft(m_regular, 0, 0);
        QVERIFY(model.checks().isEmpty());

        // Built while the window was open: the next opening reads it.
        QVERIFY(QDir(dir.path()).mkpath(u"date"_s));
        QVERIFY(QFile::copy(m_path, path));
        QVERIFY(model.load());
        QVERIFY(model.errorText().isEmpty());
        QCOMPARE(model.summaries(), QStringList{u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s});
    }

    void theSelectionAloneIsCheckedAndFindingsPointIntoTheDraft()
    {
        GelvModel model(m_path);
        QVERIFY(model.load());
        // Two poems; the second breaks the fourth place of line 3 and rhymes off the group at the end.
        const QString broken = u"木木天天木，天天木木东。天天天天木，木木木天阳。"_s;
        const QString draft = m_regular + u"\n\n"_s + broken;
        QSignalSpy checked(&model, &GelvModel::checksChanged);
        model.setDraft(draft, 0, 0);
        QCOMPARE(checked.count(), 1);
        QCOMPARE(model.summaries().size(), 2);
        QCOMPARE(model.checkedFrom(), 0);

        QList<GelvModel::FindingRow> rows = model.findingRows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).text, u"第3句第4字「天」：此处应仄，用了平声"_s);
        QCOMPARE(rows.at(0).start, draft.indexOf(broken) + broken.indexOf(u"天天天天") + 3);
        QCOMPARE(draft.mid(rows.at(1).start, rows.at(1).length), u"阳"_s);

        // Selecting the second poem checks it alone, and the places still point into the draft.
        const int from = int(draft.indexOf(broken));
        model.setDraft(draft, int(draft.size()), from);
        QCOMPARE(model.checkedFrom(), from);
        QCOMPARE(model.summaries(), QStringList{u"五言绝句 · 仄起首句不入韵 · 上平一东 · 2处不合"_s});
        rows = model.findingRows();
        QCOMPARE(draft.mid(rows.at(0).start, rows.at(0).length), u"天"_s);
        QCOMPARE(rows.at(0).start, from + broken.indexOf(u"天天天天") + 3);

        // Moving the caret without changing text or selection checks nothing again.
        checked.clear();
        model.setDraft(draft, int(draft.size()), from);
        QCOMPARE(checked.count(), 0);
    }

    void findingsComeFaultsFirstAndWholeLinesAreMarkedWhole()
    {
        GelvModel model(m_path);
        QVERIFY(model.load());
        // Poem 1 has only a warning (三仄尾); poem 2 has a line of another length.
        const QString first = u"木木天天木，天天木木东。天天木木木，木木木天风。"_s;
        const QString second = u"木木天天木，天天木木东。天天天木木木，木木木天风。"_s;
        const QString draft = first + u"\n\n"_s + second;
        model.setDraft(draft, 0, 0);
        const QList<GelvModel::FindingRow> rows = model.findingRows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).severity, Severity::Fault);
        QCOMPARE(draft.mid(rows.at(0).start, rows.at(0).length), u"天天天木木木"_s);
        QCOMPARE(rows.at(1).severity, Severity::Warning);
    }

    void bookAndFormChangeTheCheck()
    {
        GelvModel model(m_path);
        QVERIFY(model.load());
        model.setDraft(m_regular, 0, 0);
        model.setBook(2); // 中华新韵: 木 is 去 there too, but 东 rhymes in 十一庚
        QCOMPARE(model.summaries(), QStringList{u"五言绝句 · 仄起首句不入韵 · 十一庚 · 合律"_s});
        model.setBook(0);
        model.setForm(u"七言绝句"_s);
        QCOMPARE(model.summaries(), QStringList{u"不合近体诗体裁"_s});
        model.setForm(u"五言绝句"_s);
        QCOMPARE(model.findingRows().size(), 0);
        QCOMPARE(model.formNames().first(), u"自动"_s);
        QCOMPARE(GelvModel::bookNames(),
                 (QStringList{u"平水韵"_s, u"词林正韵"_s, u"中华新韵"_s, u"中华通韵"_s}));
    }

    // A 词牌 chosen as the form checks the draft as a 词 of it, judged in 词林正韵.
    void aTuneIsAFormToo()
    {
        GelvModel model(m_path);
        QVERIFY(model.formNames().contains(u"七言律诗"_s));
        QVERIFY(!model.formNames().contains(u"忆江南"_s)); // the 词谱 comes with the books
        QVERIFY(model.load());
        QCOMPARE(model.formNames().last(), u"忆江南"_s);
        QCOMPARE(model.searchTunes(u"江南"_s), QStringList{u"忆江南"_s});

        const QString ci =
            u"天天木，木木木天东。木木天天天木木，天天木木木天风。"_s; // the last line not yet written
        model.setDraft(ci, 0, 0);
        QSignalSpy book(&model, &GelvModel::bookChanged);
        model.setForm(u"望江南"_s); // an alias
        QCOMPARE(model.form(), u"忆江南"_s);
        QCOMPARE(book.count(), 1);
        QCOMPARE(model.book(), 1);
        QCOMPARE(model.summaries(), QStringList{u"忆江南 · 正体 · 第一部 · 1处不合"_s});
        QCOMPARE(model.findingRows().first().text, u"缺一句：谱中第5句（5字）无对应"_s);
        QVERIFY(model.checks().first().isCi());

        model.setForm(u"无此词牌"_s);
        QCOMPARE(model.form(), u"忆江南"_s);
        model.setForm(u"自动"_s);
        QCOMPARE(model.book(), 1); // the book stays as chosen
    }

    void theCharacterAtTheCaret()
    {
        QCOMPARE(GelvModel::characterAt(u"春风"_s, 2), U'风');
        QCOMPARE(GelvModel::characterAt(u"春风"_s, 1), U'春');
        QCOMPARE(GelvModel::characterAt(u"春风\n明月"_s, 3), U'明'); // the start of a line: the next one
        QCOMPARE(GelvModel::characterAt(u"春，"_s, 2), char32_t(0)); // punctuation is not looked up
        QCOMPARE(GelvModel::characterAt(u"𩏑山"_s, 2), U'𩏑');
        QCOMPARE(GelvModel::characterAt(QString(), 0), char32_t(0));
    }

    void theLookupShowsTheBooksAndTheGroupsCharacters()
    {
        GelvModel model(m_path);
        QVERIFY(model.load());
        QSignalSpy looked(&model, &GelvModel::lookupChanged);
        model.setLookup(U'看');
        QCOMPARE(looked.count(), 1);
        QCOMPARE(model.readings(), (QStringList{u"kàn"_s, u"kān"_s}));
        const QStringList books = model.lookupBooks();
        QCOMPARE(books.at(0), u"平水韵：上平十四寒（平）、去声十五翰（去）　中"_s);
        QCOMPARE(books.at(3), u"中华通韵：无此字　？"_s);
        QCOMPARE(model.lookupGroups(), (QStringList{u"上平十四寒"_s, u"去声十五翰"_s}));
        QCOMPARE(hanzi(model.commonMembers()), (QStringList{u"看"_s, u"安"_s}));
        model.setLookupGroup(1);
        QCOMPARE(hanzi(model.commonMembers()), (QStringList{u"看"_s, u"汉"_s}));

        // A 部 of several tones is shown one tone at a time.
        model.setBook(1);
        QCOMPARE(model.lookupGroups(), (QStringList{u"第七部（平）"_s, u"第七部（去）"_s}));
        QCOMPARE(hanzi(model.commonMembers()), (QStringList{u"看"_s, u"安"_s}));

        // Common characters apart from the rest.
        model.setBook(0);
        model.setLookup(U'东');
        QCOMPARE(hanzi(model.commonMembers()), (QStringList{u"东"_s, u"风"_s, u"红"_s, u"天"_s}));
        QCOMPARE(hanzi(model.otherMembers()), QStringList{u"蒙"_s});

        model.setLookup(U'们');
        QCOMPARE(model.lookupBooks().at(0), u"平水韵：无韵部（今读，平）　平"_s);
        QVERIFY(model.lookupGroups().isEmpty());
        QVERIFY(hanzi(model.commonMembers()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(GelvModelTest)
#include "test_gelvmodel.moc"

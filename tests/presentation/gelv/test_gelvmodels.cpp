#include "presentation/gelv/checkmodel.h"
#include "presentation/gelv/formchoicemodel.h"
#include "presentation/gelv/gelvwindowmodel.h"
#include "presentation/gelv/lookupmodel.h"
#include "prosody/core/referencefile.h"
#include "tests/support/booksfixture.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using prosody::Book;
using prosody::Severity;

namespace {

QStringList hanzi(const QList<LookupSource::Member> &members)
{
    QStringList out;
    for (const LookupSource::Member &m : members)
        out << m.hanzi;
    return out;
}

} // namespace

// The 格律 window's page models without the window: what is checked in which book and form, where
// each finding points in the draft, and what the lookup shows.
class GelvModelsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::shared_ptr<const prosody::RhymeBooks> m_books;

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
        m_books = prosody::loadRhymeBooks(m_path);
    }

    void aMissingFileIsSaidInOneLineUntilItIsThere()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"date/rhymebooks.db"_s);
        GelvWindowModel model(path, dir.filePath(u"date/classics.db"_s));
        QVERIFY(!model.open());
        QVERIFY(model.errorText().startsWith(u"找不到韵书文件"_s));
        QVERIFY(model.errorText().contains(u"shihai-builddb --rhymebooks"_s));
        QVERIFY(!model.errorText().contains(u'\n'));
        model.setDraft(m_regular, 0, 0);
        QVERIFY(model.check()->checks().isEmpty());
        QVERIFY(model.rows().isEmpty());

        // Built while the window was open: the next opening reads it.
        QVERIFY(QDir(dir.path()).mkpath(u"date"_s));
        QVERIFY(QFile::copy(m_path, path));
        QSignalSpy rows(&model, &GelvWindowModel::rowsChanged);
        QVERIFY(model.open());
        QVERIFY(model.errorText().isEmpty());
        QCOMPARE(model.check()->summaries(), QStringList{u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s});
        QCOMPARE(rows.count(), 1);
        QCOMPARE(model.rows().size(), 5); // the summary and four lines
    }

    void theSelectionAloneIsCheckedAndFindingsPointIntoTheDraft()
    {
        CheckModel model;
        model.setBooks(m_books);
        // Two poems; the second breaks the fourth place of line 3 and rhymes off the group at the end.
        const QString broken = u"木木天天木，天天木木东。天天天天木，木木木天阳。"_s;
        const QString draft = m_regular + u"\n\n"_s + broken;
        QSignalSpy checked(&model, &CheckModel::checksChanged);
        model.setDraft(draft, 0, 0);
        QCOMPARE(checked.count(), 1);
        QCOMPARE(model.summaries().size(), 2);
        QCOMPARE(model.checkedFrom(), 0);

        QList<CheckModel::FindingRow> rows = model.findingRows();
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
        CheckModel model;
        model.setBooks(m_books);
        // Poem 1 has only a warning (三仄尾); poem 2 has a line of another length.
        const QString first = u"木木天天木，天天木木东。天天木木木，木木木天风。"_s;
        const QString second = u"木木天天木，天天木木东。天天天木木木，木木木天风。"_s;
        const QString draft = first + u"\n\n"_s + second;
        model.setDraft(draft, 0, 0);
        const QList<CheckModel::FindingRow> rows = model.findingRows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).severity, Severity::Fault);
        QCOMPARE(draft.mid(rows.at(0).start, rows.at(0).length), u"天天天木木木"_s);
        QCOMPARE(rows.at(1).severity, Severity::Warning);
    }

    void bookAndFormChangeTheCheckAndTheLookup()
    {
        GelvWindowModel model(m_path, QString());
        QVERIFY(model.open());
        FormChoiceModel *forms = model.forms();
        model.setDraft(m_regular, 0, 0);
        model.setCaret(m_regular, 1, false);
        QCOMPARE(model.lookup()->lookupGroups(), QStringList{u"入声一屋"_s});
        forms->setBook(2); // 中华新韵: 木 is 去 there too, but 东 rhymes in 十一庚
        QCOMPARE(model.check()->summaries(), QStringList{u"五言绝句 · 仄起首句不入韵 · 十一庚 · 合律"_s});
        QCOMPARE(model.rows().first().summary, model.check()->summaries().first());
        QCOMPARE(model.lookup()->lookupGroups(), QStringList{u"二波"_s});
        forms->setBook(0);
        forms->setForm(u"七言绝句"_s);
        QCOMPARE(model.check()->summaries(), QStringList{u"不合近体诗体裁"_s});
        forms->setForm(u"五言绝句"_s);
        QCOMPARE(model.check()->findingRows().size(), 0);
        QCOMPARE(forms->formNames().first(), u"自动"_s);
        QCOMPARE(FormChoiceModel::bookNames(),
                 (QStringList{u"平水韵"_s, u"词林正韵"_s, u"中华新韵"_s, u"中华通韵"_s}));
    }

    // A 词牌 chosen as the form checks the draft as a 词 of it, judged in 词林正韵.
    void aTuneIsAFormToo()
    {
        GelvWindowModel model(m_path, QString());
        FormChoiceModel *forms = model.forms();
        QSignalSpy names(forms, &FormChoiceModel::formNamesChanged);
        QVERIFY(forms->formNames().contains(u"七言律诗"_s));
        QVERIFY(!forms->formNames().contains(u"忆江南"_s)); // the 词谱 comes with the books
        QVERIFY(model.open());
        QCOMPARE(names.count(), 1);
        QCOMPARE(forms->formNames().last(), u"忆江南"_s);
        QCOMPARE(forms->searchTunes(u"江南"_s), QStringList{u"忆江南"_s});

        const QString ci =
            u"天天木，木木木天东。木木天天天木木，天天木木木天风。"_s; // the last line not yet written
        model.setDraft(ci, 0, 0);
        QSignalSpy book(forms, &FormChoiceModel::bookChanged);
        QSignalSpy checked(model.check(), &CheckModel::checksChanged);
        forms->setForm(u"望江南"_s); // an alias
        QCOMPARE(forms->form(), u"忆江南"_s);
        QCOMPARE(book.count(), 1);
        QCOMPARE(book.first().first().toInt(), 1);
        QCOMPARE(forms->book(), Book::Cilin);
        QCOMPARE(checked.count(), 1); // the book and the form at once
        // The last line not yet written is no fault.
        QCOMPARE(model.check()->summaries(), QStringList{u"忆江南 · 正体 · 第一部 · 合谱"_s});
        QVERIFY(model.check()->findingRows().isEmpty());
        QVERIFY(model.check()->checks().first().isCi());

        forms->setForm(u"无此词牌"_s);
        QCOMPARE(forms->form(), u"忆江南"_s);
        forms->setForm(u"自动"_s);
        QCOMPARE(forms->book(), Book::Cilin); // the book stays as chosen
    }

    void theCharacterAtTheCaret()
    {
        QCOMPARE(LookupModel::characterAt(u"春风"_s, 2), U'风');
        QCOMPARE(LookupModel::characterAt(u"春风"_s, 1), U'春');
        QCOMPARE(LookupModel::characterAt(u"春风\n明月"_s, 3), U'明'); // the start of a line: the next one
        QCOMPARE(LookupModel::characterAt(u"春，"_s, 2), char32_t(0)); // punctuation is not looked up
        QCOMPARE(LookupModel::characterAt(u"𩏑山"_s, 2), U'𩏑');
        QCOMPARE(LookupModel::characterAt(QString(), 0), char32_t(0));

        // Typed into the lookup: the last character, and nothing for a text without one.
        LookupModel model;
        model.lookUpTyped(u"春风"_s);
        QCOMPARE(model.character(), u"风"_s);
        model.lookUpTyped(u"ab"_s);
        QCOMPARE(model.lookup(), U'风');
    }

    void theLookupShowsTheBooksAndTheGroupsCharacters()
    {
        LookupModel model;
        model.setBooks(m_books);
        QSignalSpy looked(&model, &LookupModel::lookupChanged);
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
        model.setBook(Book::Cilin);
        QCOMPARE(model.lookupGroups(), (QStringList{u"第七部（平）"_s, u"第七部（去）"_s}));
        QCOMPARE(hanzi(model.commonMembers()), (QStringList{u"看"_s, u"安"_s}));

        // Common characters apart from the rest.
        model.setBook(Book::Pingshui);
        model.setLookup(U'东');
        QCOMPARE(hanzi(model.commonMembers()), (QStringList{u"东"_s, u"风"_s, u"红"_s, u"天"_s}));
        QCOMPARE(hanzi(model.otherMembers()), QStringList{u"蒙"_s});

        model.setLookup(U'们');
        QCOMPARE(model.lookupBooks().at(0), u"平水韵：无韵部（今读，平）　平"_s);
        QVERIFY(model.lookupGroups().isEmpty());
        QVERIFY(hanzi(model.commonMembers()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(GelvModelsTest)
#include "test_gelvmodels.moc"

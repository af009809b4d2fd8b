// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/checkmodel.h"
#include "presentation/gelv/ciformchoice.h"
#include "presentation/gelv/editortarget.h"
#include "presentation/gelv/examplesmodel.h"
#include "presentation/gelv/formchoicemodel.h"
#include "presentation/gelv/gelvwindowmodel.h"
#include "presentation/gelv/lookupmodel.h"
#include "prosody/core/referencefile.h"
#include "tests/support/booksfixture.h"

#include <QDir>
#include <QSettings>
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
            .add(u"平水韵"_s, u"上平十四寒"_s, u"平"_s, u"刊"_s, 2)
            .add(u"中华新韵"_s, u"十二齐"_s, u"去"_s, u"绿"_s)
            .ungrouped(u"平水韵"_s, u"们"_s, u"平"_s)
            .add(u"平水韵"_s, u"下平七阳"_s, u"平"_s, u"长江"_s)
            .add(u"平水韵"_s, u"上声二十二养"_s, u"上"_s, u"长"_s)
            .word(u"长江"_s, u"cháng jiāng"_s)
            .reading(u"看"_s, u"kàn"_s)
            .reading(u"看"_s, u"kān"_s)
            .reading(u"刊"_s, u"kān"_s)
            .reading(u"绿"_s, u"lǜ"_s)
            .reading(u"长"_s, u"cháng"_s)
            .variants(u"長"_s, u"长"_s)
            .alsoFor(u"刊"_s, u"东"_s);
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
        QCOMPARE(rows.at(0).text, u"第2首：第3句第4字「天」：此处应仄，用了平声"_s);
        QCOMPARE(rows.at(0).start, draft.indexOf(broken) + broken.indexOf(u"天天天天") + 3);
        QCOMPARE(draft.mid(rows.at(1).start, rows.at(1).length), u"阳"_s);

        // Selecting the second poem checks it alone, and the places still point into the draft.
        const int from = int(draft.indexOf(broken));
        model.setDraft(draft, int(draft.size()), from);
        QCOMPARE(model.checkedFrom(), from);
        QCOMPARE(model.summaries(), QStringList{u"五言绝句 · 仄起首句不入韵 · 上平一东 · 2处不合"_s});
        rows = model.findingRows();
        QCOMPARE(draft.mid(rows.at(0).start, rows.at(0).length), u"天"_s);
        QCOMPARE(rows.at(0).text, u"第3句第4字「天」：此处应仄，用了平声"_s);
        QCOMPARE(rows.at(0).start, from + broken.indexOf(u"天天天天") + 3);

        // Moving the caret without changing text or selection checks nothing again.
        checked.clear();
        model.setDraft(draft, int(draft.size()), from);
        QCOMPARE(checked.count(), 0);
    }

    // A selection is checked alone only when it holds a whole line of verse: one made to look a word
    // up, or made by the window to show a finding, leaves the poem checked with all its findings.
    void onlyASelectionOfWholeLinesReplacesTheCheck()
    {
        GelvWindowModel model(m_path, QString());
        QVERIFY(model.open());
        const QString draft = m_regular + u"\n\n木木天天木，天天木木东。天天天木木木，木木木天风。"_s;
        model.setDraft(draft, 0, 0);
        const QStringList whole = model.check()->summaries();
        QCOMPARE(whole.size(), 2);
        model.setDraft(draft, 6, 8); // 天天, to see its examples
        QCOMPARE(model.check()->summaries(), whole);
        QCOMPARE(model.examples()->text(), u"天天"_s);
        model.setDraft(draft, 4, 13); // from the end of line 1 across line 2
        QCOMPARE(model.check()->summaries(), QStringList{u"不合近体诗体裁"_s});

        // The finding of the long line selects that whole line, but the window made that selection.
        model.setDraft(draft, 0, 0);
        const CheckModel::FindingRow line = model.check()->findingRows().first();
        QCOMPARE(draft.mid(line.start, line.length), u"天天天木木木"_s);
        model.selectingItself(line.start, line.start + line.length);
        model.setDraft(draft, line.start + line.length, line.start);
        QCOMPARE(model.check()->summaries(), whole);
        // Selected again by the user, it is checked alone.
        model.setDraft(draft, 0, 0);
        model.setDraft(draft, line.start, line.start + line.length);
        QCOMPARE(model.check()->summaries().size(), 1);
    }

    // The 例句 follow what is selected now, else the character looked up: a selection that went takes
    // its query with it, even when the caret comes back to the character looked up before.
    void theExamplesNeverKeepASelectionThatWent()
    {
        GelvWindowModel model(m_path, QString());
        QVERIFY(model.open());
        model.setDraft(m_regular, 1, 1);
        model.setCaret(m_regular, 1, false);
        QCOMPARE(model.examples()->text(), u"木"_s);
        model.setDraft(m_regular, 0, int(m_regular.size()));
        model.setCaret(m_regular, int(m_regular.size()), true);
        QCOMPARE(model.examples()->text(), m_regular);
        model.setCaret(m_regular, 1, false); // a click back on the first line
        QCOMPARE(model.examples()->text(), u"木"_s);
        model.setDraft(m_regular, 1, 1);
        QCOMPARE(model.examples()->text(), u"木"_s);

        // A word asked for stays until the lookup or the selection changes.
        model.showExamples(u"东风"_s);
        model.setDraft(m_regular, 1, 1);
        model.forms()->setBook(2);
        QCOMPARE(model.examples()->text(), u"东风"_s);
        model.setCaret(m_regular, 3, false);
        QCOMPARE(model.examples()->text(), u"天"_s);
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
        // Going back brings the book the poet chose; one chosen while on a 词牌 is the poet's too.
        forms->setForm(u"自动"_s);
        QCOMPARE(forms->book(), Book::Pingshui);
        QCOMPARE(book.count(), 2);
        // 自动 judges the 词 it recognises in 词林正韵, as shihai-gelv does, and says so.
        QCOMPARE(model.check()->checks().first().book, Book::Cilin);
        QCOMPARE(model.check()->summaries(), QStringList{u"忆江南 · 正体 · 第一部 · 合谱 · 按词林正韵"_s});
        forms->setForm(u"忆江南"_s);
        forms->setBook(int(Book::Xinyun));
        forms->setForm(u"七言绝句"_s);
        QCOMPARE(forms->book(), Book::Xinyun);
    }

    // In 自动, a 词 another 词牌 fits almost as well offers that one in the second selector, and picked, it
    // is what is checked; a 词牌 chosen offers its forms. A form the 词牌 lacks, typed, is not taken.
    void theSecondSelectorOffersWhatFitsAndNoFormATuneLacks()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"date/rhymebooks.db"_s);
        {
            const QStringList shape = {u"平平仄仄"_s, u"仄仄平平/1"_s, u"中仄平/1"_s, u"平平仄仄平/1"_s};
            BooksFixture books(path);
            books.add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东红天"_s)
                .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"木"_s)
                .add(u"词林正韵"_s, u"第一部"_s, u"平"_s, u"东红天"_s)
                .add(u"词林正韵"_s, u"第十五部"_s, u"入"_s, u"木"_s)
                .tune(u"大调"_s, 50)
                .ciForm(u"大调"_s, 1, 40, shape, 2)
                .ciForm(u"大调"_s, 2, 10, {u"平平仄仄"_s, u"仄仄平平/1"_s, u"平平仄仄平/1"_s}, 2)
                .tune(u"宜调"_s, 40)
                .ciForm(u"宜调"_s, 1, 40, shape, 2, u"平韵"_s, 85);
        }
        GelvWindowModel model(path, QString());
        QVERIFY(model.open());
        FormChoiceModel *forms = model.forms();
        CiFormChoice *second = model.ciForms();
        model.setDraft(u"天天木木，木木天东。天木红，天天木木东。"_s, 0, 0);
        const QStringList automatic = {u"自动：大调 · 正体"_s, u"或为 宜调 · 正体"_s};
        QCOMPARE(second->entries(), automatic);

        forms->setForm(u"大调:3"_s);
        QCOMPARE(forms->form(), u"自动"_s);
        QCOMPARE(second->entries(), automatic);

        second->choose(1);
        QCOMPARE(forms->form(), u"宜调"_s);
        QCOMPARE(forms->book(), Book::Cilin);
        QCOMPARE(model.check()->summaries(), QStringList{u"宜调 · 正体 · 第一部 · 合谱"_s});
        QVERIFY(second->entries().isEmpty()); // a 词牌 of one form: nothing to pick

        forms->setForm(u"大调：2"_s);
        QCOMPARE(second->entries().size(), 3); // 最合之体, 正体, 又一体（2）
        QCOMPARE(second->current(), 2);
        QVERIFY(model.check()->summaries().first().startsWith(u"大调 · 又一体（2） · "_s));
    }

    // The book the poet chose comes back at the next start, from the user's settings; a book a 词牌
    // brought in for itself does not.
    void theBookChosenIsKeptForTheNextStart()
    {
        QTemporaryDir config;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        const auto started = [this] {
            auto model = std::make_unique<GelvWindowModel>(m_path, QString());
            model->keepSettings();
            return model;
        };
        started()->forms()->setBook(int(Book::Xinyun));
        std::unique_ptr<GelvWindowModel> model = started();
        QCOMPARE(model->forms()->book(), Book::Xinyun);
        QVERIFY(model->open());
        model->forms()->setBook(int(Book::Pingshui));
        model->forms()->setForm(u"忆江南"_s);
        QCOMPARE(started()->forms()->book(), Book::Pingshui);
        QSettings(config.filePath(u"shihai/shihai.conf"_s), QSettings::NativeFormat)
            .setValue(u"gelv/book"_s, u"无此书"_s);
        QCOMPARE(started()->forms()->book(), Book::Pingshui);
    }

    // The window's title names what it checks, on one line and of a length a title bar shows.
    void theTitleSaysWhatIsChecked()
    {
        using Kind = EditorTarget::Kind;
        QCOMPARE((EditorTarget{Kind::Draft, u"春望"_s}.windowTitle()), u"格律 · 草稿"_s);
        QCOMPARE((EditorTarget{Kind::Work, u" 春望\n"_s}.windowTitle()), u"格律 · 《春望》"_s);
        QCOMPARE((EditorTarget{Kind::Work, QString()}.windowTitle()), u"格律 · 《无题》"_s);
        const QString title = EditorTarget{Kind::Work, u"𩏑"_s.repeated(10000)}.windowTitle();
        QCOMPARE(title, u"格律 · 《"_s + u"𩏑"_s.repeated(23) + u"…》"_s); // whole characters beyond the BMP
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
        model.lookUpTyped(u"，"_s);
        QCOMPARE(model.lookup(), char32_t(0)); // not kept from before: nothing is looked up
        QCOMPARE(model.typedNote(), u"「，」不是汉字"_s);
    }

    // Pinyin typed into the lookup lists the characters of that reading, common ones first.
    void aTypedReadingListsItsCharacters()
    {
        LookupModel model;
        model.setBooks(m_books);
        model.lookUpTyped(u"看"_s);
        QSignalSpy looked(&model, &LookupModel::lookupChanged);
        model.lookUpTyped(u"kan"_s);
        QCOMPARE(looked.count(), 1);
        QCOMPARE(model.character(), QString()); // 看 is not shown for it
        QCOMPARE(model.typedCandidates(), (QStringList{u"看"_s, u"刊"_s}));
        QCOMPARE(model.typedNote(), u"读 kan 的字（点一个即查）"_s);
        for (const QString &typed : {u"kàn"_s, u"KAN4"_s, u"看kan4"_s}) {
            model.lookUpTyped(typed);
            QCOMPARE(model.typedCandidates(), QStringList{u"看"_s});
        }
        for (const QString &typed : {u"lv"_s, u"lü"_s, u"lu:4"_s, u"lǜ"_s}) {
            model.lookUpTyped(typed);
            QCOMPARE(model.typedCandidates(), QStringList{u"绿"_s});
        }
        model.lookUpTyped(u"ka"_s);
        QVERIFY(model.typedCandidates().isEmpty());
        QCOMPARE(model.typedNote(), u"「ka」：拼音还没打完"_s);
        model.lookUpTyped(u"kaq"_s);
        QCOMPARE(model.typedNote(), u"「kaq」不是汉字，也没有这样读的字"_s);
        // Picking one looks it up.
        model.lookUpTyped(u"看"_s);
        QCOMPARE(model.character(), u"看"_s);
        QVERIFY(model.typedNote().isEmpty());
        QVERIFY(model.typedCandidates().isEmpty());
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

        // A character a converted text may write for another rhymes there too, but the lookup shows the
        // book's own groups.
        model.setLookup(U'刊');
        QCOMPARE(model.lookupBooks().at(0), u"平水韵：上平十四寒（平）　平"_s);

        model.setLookup(U'们');
        QCOMPARE(model.lookupBooks().at(0), u"平水韵：无韵部（今读，平）　平"_s);
        QVERIFY(model.lookupGroups().isEmpty());
        QVERIFY(hanzi(model.commonMembers()).isEmpty());
    }

    void theLookupSaysWhichWordDecidedAPolyphone()
    {
        LookupModel model;
        model.setBooks(m_books);
        QSignalSpy looked(&model, &LookupModel::lookupChanged);
        model.lookUpAt(u"月涌长江流\n长"_s, 3); // the caret after 长 of 长江
        QCOMPARE(model.character(), u"长"_s);
        QCOMPARE(model.lookupBooks().at(0),
                 u"平水韵：下平七阳（平）、上声二十二养（上）　中，在「长江」中读 cháng，计为平"_s);
        // The same character alone on its line: no word decides it.
        model.lookUpAt(u"月涌长江流\n长"_s, 7);
        QCOMPARE(looked.count(), 2);
        QCOMPARE(model.lookupBooks().at(0), u"平水韵：下平七阳（平）、上声二十二养（上）　中"_s);
        // A traditional form is looked up as the standard character it stands for, in its word as written.
        model.lookUpAt(u"月湧長江流"_s, 3);
        QCOMPARE(model.character(), u"長"_s);
        QCOMPARE(model.readings(), (QStringList{u"同「长」"_s, u"cháng"_s}));
        QCOMPARE(model.lookupBooks().at(0),
                 u"平水韵：下平七阳（平）、上声二十二养（上）　中，在「長江」中读 cháng，计为平"_s);
    }
};

QTEST_GUILESS_MAIN(GelvModelsTest)
#include "test_gelvmodels.moc"

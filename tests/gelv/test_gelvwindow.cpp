// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/schema.h"
#include "pages/association/associationpage.h"
#include "pages/creation/creationpage.h"
#include "pages/gelv/cipu/cipubrowser.h"
#include "pages/gelv/gelvwindow.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/statusbar.h"
#include "pages/works/workspage.h"
#include "presentation/gelv/gelvwindowmodel.h"
#include "tests/classics/corpus.h"
#include "tests/creation/rhymedata.h"
#include "tests/support/booksfixture.h"
#include "tests/support/markedrowtexts.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"
#include "tools/classics/classics.h" // the builder's

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QWheelEvent>

#include <memory>

using namespace Qt::StringLiterals;

// The 格律 window beside the main window, through the real window: opening it, following the
// draft as it is typed, and what it writes into the draft.
class TestGelvWindow : public QObject {
    Q_OBJECT

    Fixture prepared; // with its rhyme books and a classics file built from a small corpus
    std::unique_ptr<WindowFixture> fx;
    TW *w = nullptr;

    template <class T> static T *child(QObject *in, const QString &name)
    {
        return WindowFixture::child<T>(in, name);
    }
    DbRichEdit *draft() { return child<DbRichEdit>(w, u"Edit_DBRichEdit"_s); }
    GelvWindow *gelv() { return w->findChild<GelvWindow *>(u"Gelv"_s); }

    void writeBooks()
    {
        BooksFixture books(prepared.dir() + u"/date/rhymebooks.db"_s);
        books.add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东风红天"_s)
            .add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"蒙"_s, 2)
            .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"木竹"_s)
            .add(u"中华新韵"_s, u"十一庚"_s, u"平"_s, u"东风红"_s)
            .add(u"中华新韵"_s, u"八寒"_s, u"平"_s, u"天"_s)
            .add(u"中华新韵"_s, u"二波"_s, u"去"_s, u"木"_s)
            .add(u"中华新韵"_s, u"十四姑"_s, u"平"_s, u"竹"_s) // 入 of old, 阳平 today
            .add(u"词林正韵"_s, u"第一部"_s, u"平"_s, u"东风红天"_s)
            .add(u"词林正韵"_s, u"第十五部"_s, u"入"_s, u"木"_s)
            .tune(u"忆江南"_s, 120, {u"望江南"_s})
            .ciForm(u"忆江南"_s, 1, 100,
                    {u"平平仄"_s, u"仄仄仄平平/1"_s, u"仄仄平平平仄仄"_s, u"平平仄仄仄平平/1"_s,
                     u"中仄仄平平/1"_s})
            .reading(u"风"_s, u"fēng"_s);
    }
    void show() { w = fx->open(); }
    void openByButton()
    {
        QTest::mouseClick(child<QToolButton>(w, u"Edit_gelv_SpeedButton"_s), Qt::LeftButton);
        QVERIFY(gelv());
        QTRY_VERIFY(gelv()->isVisible());
    }
    QString panel(int i) const { return fx->panel(i); }
    // Types into the draft key by key; a line break is the Return key, as a user types it.
    void typeLines(const QString &text)
    {
        const QStringList lines = text.split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(draft(), Qt::Key_Return);
            typeText(draft(), lines.at(i));
        }
    }
    // What the marked poem is given to paint.
    QStringList viewRows() { return rowTexts(gelv()->model()->rows()); }
    QStringList findingTexts()
    {
        QStringList out;
        auto *list = child<QListWidget>(gelv(), u"Gelv_Findings"_s);
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        addRhymes(prepared);
        writeBooks();
        const QTemporaryDir built;
        QVERIFY(QFile::copy(corpus::buildClassics(built.path()), prepared.dir() + u"/date/classics.db"_s));
    }
    void init()
    {
        fx = std::make_unique<WindowFixture>(prepared);
        // Each case starts as a first start: no book chosen, the window not open before.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, fx->dir() + u"/config"_s);
    }
    void cleanup()
    {
        w = nullptr;
        fx.reset();
    }

    void theButtonAndF9OpenOneWindowAndRaiseIt()
    {
        show();
        auto *button = child<QToolButton>(w, u"Edit_gelv_SpeedButton"_s);
        QCOMPARE(button->text(), u"格律"_s);
        QCOMPARE(button->geometry(), QRect(416, 6, 65, 25));
        QCOMPARE(button->parentWidget()->objectName(), u"Panel1"_s);
        QVERIFY(!gelv());
        openByButton();
        QVERIFY(gelv()->windowFlags().testFlag(Qt::Tool));
        QCOMPARE(gelv()->parentWidget(), w);
        gelv()->hide();
        w->activateWindow();
        QTest::keyClick(w, Qt::Key_F9);
        QTRY_VERIFY(gelv()->isVisible());
        QTest::keyClick(draft(), Qt::Key_F9);
        QCOMPARE(w->findChildren<GelvWindow *>().size(), 1);
    }

    // The next start opens the window when it was open and with the book the poet chose; closed by
    // the user, it stays closed.
    void theWindowComesBackAsItWasLeft()
    {
        show();
        openByButton();
        child<QComboBox>(gelv(), u"Gelv_Book_ComboBox"_s)->setCurrentIndex(2);
        QVERIFY(w->close());
        gelv()->close(); // as the program's end closes every window after the main one
        fx->drop();
        show();
        QVERIFY(gelv() && gelv()->isVisible()); // reopened by the start, before it was done
        QCOMPARE(child<QComboBox>(gelv(), u"Gelv_Book_ComboBox"_s)->currentText(), u"中华新韵"_s);
        QVERIFY(gelv()->close());
        QVERIFY(w->close());
        fx->drop();
        show(); // done with its start, which would have reopened it
        QVERIFY(!gelv());
        QVERIFY(QFile::exists(fx->dir() + u"/config/shihai/shihai.conf"_s));
    }

    // Ctrl+wheel and Ctrl+= / Ctrl+- make the draft and the marked poem larger or smaller, the text
    // stored untouched; the sizes come back at the next start.
    void theDraftAndTheMarksZoomButNotTheText()
    {
        show();
        typeLines(u"木木天天木，天天木木东。"_s);
        openByButton();
        auto *view = child<QWidget>(gelv(), u"Gelv_View"_s);
        const int made = view->minimumHeight();
        const auto wheel = [&](QWidget *on, Qt::KeyboardModifiers modifiers) {
            QWheelEvent turn(QPointF(5, 5), on->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                             Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(on, &turn);
        };
        wheel(view, Qt::NoModifier);
        QCOMPARE(view->minimumHeight(), made);
        wheel(view, Qt::ControlModifier);
        wheel(view, Qt::ControlModifier);
        QVERIFY(view->minimumHeight() > made * 6 / 5); // two eighths larger
        const int larger = view->minimumHeight();
        gelv()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), gelv());
        child<QWidget>(gelv(), u"Gelv_Findings"_s)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Minus, Qt::ControlModifier);
        QVERIFY(view->minimumHeight() < larger);

        w->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), w);
        draft()->setFocus();
        QSignalSpy edited(draft(), &QTextEdit::textChanged);
        const int pixels = draft()->font().pixelSize();
        QTest::keyClick(draft(), Qt::Key_Equal, Qt::ControlModifier);
        wheel(draft()->viewport(), Qt::ControlModifier);
        QCOMPARE(draft()->font().pixelSize(), pixels + 4);
        QTest::keyClick(draft(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(draft()->font().pixelSize(), pixels + 2);
        QCOMPARE(edited.count(), 0); // nothing written back
        QCOMPARE(draft()->toPlainText(), u"木木天天木，天天木木东。"_s);

        const int zoomed = view->minimumHeight();
        QVERIFY(w->close());
        fx->drop();
        show();
        QCOMPARE(draft()->font().pixelSize(), pixels + 2);
        QTRY_VERIFY(gelv() && gelv()->isVisible());
        QCOMPARE(child<QWidget>(gelv(), u"Gelv_View"_s)->minimumHeight(), zoomed);
    }

    void theMainWindowStaysAsItWas()
    {
        show();
        const QString condition = panel(0), counts = panel(1), date = panel(2);
        openByButton();
        QCOMPARE(w->size(), QSize(792, 566));
        auto *pages = child<QTabWidget>(w, u"W_PageControl"_s);
        QCOMPARE(pages->count(), 5);
        QCOMPARE(pages->tabText(0), u"开始创作"_s);
        QCOMPARE(pages->tabText(4), u"关于软件"_s);
        QCOMPARE(panel(0), condition);
        QCOMPARE(panel(1), counts);
        QCOMPARE(panel(2), date);
        // Beside the main window, or over its left part when the screen (800 wide here) has no room:
        // never over the draft.
        QVERIFY(
            !gelv()->frameGeometry().intersects(QRect(draft()->mapToGlobal(QPoint(0, 0)), draft()->size())));
        QVERIFY(fx->dialogs->calls.isEmpty());
    }

    void theContextMenuOffersTheCheckAndTheRhymeOfTheCharacter()
    {
        show();
        typeText(draft(), u"东风"_s);
        QTextCursor cursor = draft()->textCursor();
        cursor.setPosition(1);
        const QRect second = draft()->cursorRect(cursor);
        auto *page = child<CreationPage>(w, u"Edit"_s);
        std::unique_ptr<QMenu> menu(page->draftMenu(second.center() + QPoint(4, 0)));
        const QList<QAction *> actions = menu->actions();
        QCOMPARE(actions.at(0)->text(), u"检查格律"_s);
        QCOMPARE(actions.at(1)->text(), u"查韵「风」"_s);
        QCOMPARE(actions.at(2)->text(), u"词谱"_s);
        QVERIFY(actions.at(3)->isSeparator());
        QVERIFY(actions.size() > 4); // the editor's own entries follow
        actions.at(1)->trigger();
        QTRY_VERIFY(gelv() && gelv()->isVisible());
        QCOMPARE(child<QLineEdit>(gelv(), u"Gelv_Char_Edit"_s)->text(), u"风"_s);
        QCOMPARE(child<QLabel>(gelv(), u"Gelv_Readings"_s)->text(), u"fēng"_s);
    }

    // The window follows the editor the user last worked in: a work of 经典案例 is checked where it
    // is kept, named in the title, its findings point into it and a chosen character goes into it.
    void theWindowFollowsTheWorkBeingEdited()
    {
        using namespace schema;
        const QString work = u"木木天天木，天天木木东。\n天天天天木，木木木天风。"_s;
        fx->insert(tableWorks, {colTitle, colCategory, colCount, colDate, colContent},
                   {u"春望"_s, u"甲类"_s, 4, u"2006-05-01"_s, work});
        fx->insert(tableWorks, {colTitle, colCategory, colCount, colDate, colContent},
                   {u"秋兴"_s, u"甲类"_s, 1, u"2005-05-01"_s, u"东风"_s});
        show();
        typeText(draft(), u"木红风"_s);
        openByButton();
        QCOMPARE(gelv()->windowTitle(), u"格律 · 草稿"_s);
        auto *pages = child<QTabWidget>(w, u"W_PageControl"_s);
        pages->setCurrentIndex(3);
        auto *page = child<WorksPage>(w, u"Show"_s);
        auto *content = child<DbRichEdit>(page, u"nr_DBRichEdit"_s);
        QTRY_COMPARE(QApplication::focusWidget(), content);
        QCOMPARE(gelv()->windowTitle(), u"格律 · 《春望》"_s);
        QCOMPARE(viewRows().at(0), u"五言绝句 · 仄起首句不入韵 · 上平一东 · 1处不合"_s);

        // The same entries as the draft's on the work's context menu.
        std::unique_ptr<QMenu> menu(
            page->contentMenu(content->cursorRect(QTextCursor(content->document())).center()));
        QCOMPARE(menu->actions().at(0)->text(), u"检查格律"_s);
        QCOMPARE(menu->actions().at(1)->text(), u"查韵「木」"_s);
        pages->setCurrentIndex(0);
        QCOMPARE(gelv()->windowTitle(), u"格律 · 草稿"_s);
        menu->actions().at(0)->trigger();
        QCOMPARE(gelv()->windowTitle(), u"格律 · 《春望》"_s);

        auto *findings = child<QListWidget>(gelv(), u"Gelv_Findings"_s);
        QCOMPARE(findingTexts(), QStringList{u"第3句第4字「天」：此处应仄，用了平声"_s});
        QTest::mouseClick(findings->viewport(), Qt::LeftButton, {},
                          findings->visualItemRect(findings->item(0)).center());
        QCOMPARE(content->textCursor().selectionStart(), int(work.indexOf(u"天天天天"_s)) + 3);
        QCOMPARE(content->textCursor().selectedText(), u"天"_s);
        QCOMPARE(draft()->toPlainText(), u"木红风"_s);

        // A character chosen in the lookup is typed into the work, and written as the page writes it.
        QTextCursor caret(content->document());
        content->setTextCursor(caret);
        child<QLineEdit>(gelv(), u"Gelv_Char_Edit"_s)->clear();
        QTest::sendKeyEvent(QTest::Click, child<QLineEdit>(gelv(), u"Gelv_Char_Edit"_s), Qt::Key_unknown,
                            u"红"_s, Qt::NoModifier);
        auto *common = child<QListWidget>(gelv(), u"Gelv_Common_List"_s);
        const QPoint at =
            common->visualItemRect(common->findItems(u"红"_s, Qt::MatchExactly).value(0)).center();
        QTest::mouseClick(common->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(common->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(content->toPlainText(), u"红"_s + work);
        // Checked as it now is: the first line has one character too many.
        QCOMPARE(viewRows().at(0), u"五言绝句 · 仄起首句不入韵 · 上平一东 · 2处不合"_s);
        QVERIFY(findingTexts().contains(u"第1句多一字"_s));

        // Another work: the window follows it and its title.
        QTest::mouseClick(child<QToolButton>(w, u"next_SpeedButton"_s), Qt::LeftButton);
        QCOMPARE(gelv()->windowTitle(), u"格律 · 《秋兴》"_s);
        QCOMPARE(viewRows().value(1).left(2), u"东风"_s);
        QVERIFY(w->close());
        QCOMPARE(fx->value("select 内容 from 作品 where 标题='春望'"), u"红"_s + work);
        QCOMPARE(fx->value("select 内容 from 作品 where 标题='草稿'"), u"木红风"_s);
    }

    void marksAndSummaryFollowTheBook()
    {
        show();
        typeLines(u"木木天天木，天天木竹东。\n天天天木木，木木木天风。"_s);
        openByButton();
        QCOMPARE(
            viewRows(),
            (QStringList{u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s, u"木木天天木|●●○○●|     |     |"_s,
                         u"天天木竹东|○○●●○|     |     |韵·上平一东"_s, u"天天天木木|○○○●●|     |     |"_s,
                         u"木木木天风|●●●○○|     |     |韵·上平一东"_s}));
        // The view is given them: as tall as five rows need.
        QVERIFY(child<QWidget>(gelv(), u"Gelv_View"_s)->minimumHeight() > 5 * 22);
        // 竹 is 平 in the modern book: the fourth place of line 2 turns red, with the template's 仄 above.
        child<QComboBox>(gelv(), u"Gelv_Book_ComboBox"_s)->setCurrentIndex(2);
        QCOMPARE(viewRows().at(0), u"五言绝句 · 仄起首句不入韵 · 十一庚 · 1处不合"_s);
        QCOMPARE(viewRows().at(2), u"天天木竹东|○○●○○|   仄 |   ✗ |韵·十一庚"_s);
        QCOMPARE(findingTexts(), QStringList{u"第2句第4字「竹」：此处应仄，用了平声"_s});
    }

    // A 词牌 picked in the form selector: the 词 over its pattern, the lines still to write as pattern
    // alone, judged in 词林正韵.
    void aTunePickedAsTheFormShowsItsPattern()
    {
        show();
        typeLines(u"天天木，木木木天东。\n木木天天天木木，天天木木木天风。"_s);
        openByButton();
        auto *form = child<QComboBox>(gelv(), u"Gelv_Form_ComboBox"_s);
        const int index = form->findText(u"忆江南"_s);
        QCOMPARE(index, 7); // after 自动, the five forms of regulated verse and 对联
        form->setCurrentIndex(index);
        emit form->activated(index);
        QCOMPARE(child<QComboBox>(gelv(), u"Gelv_Book_ComboBox"_s)->currentText(), u"词林正韵"_s);
        QCOMPARE(
            viewRows(),
            (QStringList{u"忆江南 · 正体 · 第一部 · 合谱 · 据 100 首，33 家"_s, u"天天木|○○●|○○●|   |"_s,
                         u"木木木天东|●●●○○|●●●○○|     |韵·第一部"_s,
                         u"木木天天天木木|●●○○○●●|●●○○○●●|       |"_s,
                         u"天天木木木天风|○○●●●○○|○○●●●○○|       |韵·第一部"_s, u"谱|◎●●○○|韵1（平）"_s}));
        QVERIFY(findingTexts().isEmpty()); // the line not yet written is the pattern only

        // Back to 自动: the book the poet had.
        form->setCurrentIndex(0);
        emit form->activated(0);
        QCOMPARE(child<QComboBox>(gelv(), u"Gelv_Book_ComboBox"_s)->currentText(), u"平水韵"_s);
        // The 词 is still recognised in 自动, and judged in 词林正韵 as shihai-gelv judges it.
        QVERIFY2(viewRows().at(0).startsWith(u"忆江南 · 正体 · 第一部"_s), qPrintable(viewRows().at(0)));

        // An alias typed into the selector stands for its 词牌.
        form->setEditText(QString());
        form->lineEdit()->setFocus();
        typeText(form->lineEdit(), u"望江南"_s);
        QTest::keyClick(form->lineEdit(), Qt::Key_Return);
        QCOMPARE(form->currentText(), u"忆江南"_s);
    }

    // The 词谱 opened from the window, a 词牌 found by its other name, and 按此体填词: the name as the
    // title of the empty draft and the form chosen; a draft with text is replaced only when the poet
    // agrees.
    void theCipuStartsTheDraftInTheChosenForm()
    {
        show();
        openByButton();
        QTest::mouseClick(child<QToolButton>(gelv(), u"Gelv_Cipu_Button"_s), Qt::LeftButton);
        auto *browser = child<CipuBrowser>(gelv(), u"Cipu"_s);
        QTRY_VERIFY(browser->isVisible());
        auto *sheet = child<QTextBrowser>(browser, u"Cipu_Sheet"_s);
        QVERIFY(sheet->toPlainText().startsWith(u"忆江南 · 正体"_s)); // the first 调 at once
        typeText(child<QLineEdit>(browser, u"Cipu_Filter"_s), u"望江南"_s);
        const QModelIndex tune = child<QListView>(browser, u"Cipu_Tunes"_s)->currentIndex();
        QCOMPARE(tune.data().toString(), u"忆江南　谱外 · 1 体"_s);
        QVERIFY(sheet->toPlainText().contains(u"○\n平95\n仄5"_s)); // each place with its counts

        QTest::mouseClick(child<QPushButton>(browser, u"Cipu_Fill"_s), Qt::LeftButton);
        QCOMPARE(draft()->toPlainText(), u"忆江南\n"_s);
        QCOMPARE(child<QComboBox>(gelv(), u"Gelv_Form_ComboBox"_s)->currentText(), u"忆江南"_s);
        QVERIFY(fx->dialogs->calls.isEmpty());
        // The caret waits under the title, and what is typed there is the first line of the form.
        typeText(draft(), u"天天木"_s);
        QTRY_VERIFY2(viewRows().contains(u"天天木|○○●|○○●|   |"_s), qPrintable(viewRows().join(u'/')));

        fx->dialogs->answer = false;
        QTest::mouseClick(child<QPushButton>(browser, u"Cipu_Fill"_s), Qt::LeftButton);
        QCOMPARE(fx->dialogs->calls.size(), 1);
        QCOMPARE(draft()->toPlainText(), u"忆江南\n天天木"_s);
        fx->dialogs->answer = true;
        QTest::mouseClick(child<QPushButton>(browser, u"Cipu_Fill"_s), Qt::LeftButton);
        QCOMPARE(draft()->toPlainText(), u"忆江南\n"_s);
    }

    void aFaultAppearsAndGoesAsALineIsTypedAndMended()
    {
        show();
        openByButton();
        typeLines(u"木木天天木，天天木木东。\n天天天天"_s);
        // The line being typed is checked on what is typed: its fourth character is already wrong.
        QCOMPARE(findingTexts(), QStringList{u"第3句第4字「天」：此处应仄，用了平声"_s});
        QCOMPARE(viewRows().at(0),
                 u"五言绝句 · 仄起首句不入韵 · 上平一东 · 已写2句，第3句尚缺1字，其后尚缺1句 · 1处不合"_s);
        typeText(draft(), u"木，木木木天风。"_s);
        QCOMPARE(findingTexts(), QStringList{u"第3句第4字「天」：此处应仄，用了平声"_s});
        QCOMPARE(viewRows().at(3), u"天天天天木|○○○○●|   仄 |   ✗ |"_s);
        // Mend it: the fourth character of line 3 becomes 仄.
        QTextCursor cursor = draft()->textCursor();
        const int at = int(draft()->toPlainText().indexOf(u"天天天天"_s)) + 3;
        cursor.setPosition(at);
        cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
        draft()->setTextCursor(cursor);
        typeText(draft(), u"木"_s);
        QVERIFY(findingTexts().isEmpty());
        QCOMPARE(viewRows().at(0), u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s);
    }

    void clickingAFindingSelectsItsCharacterInTheDraft()
    {
        show();
        typeLines(u"木木天天木，天天木木东。\n天天天天木，木木木天风。"_s);
        openByButton();
        auto *list = child<QListWidget>(gelv(), u"Gelv_Findings"_s);
        QCOMPARE(list->count(), 1);
        const QStringList checked = viewRows();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(draft()->textCursor().selectedText(), u"天"_s);
        QCOMPARE(draft()->textCursor().selectionStart(),
                 int(draft()->toPlainText().indexOf(u"天天天天"_s)) + 3);
        QTRY_COMPARE(QApplication::focusWidget(), draft());
        // The selection shows the finding; the poem stays checked with all it was found to have.
        QCOMPARE(viewRows(), checked);
        QCOMPARE(findingTexts(), QStringList{u"第3句第4字「天」：此处应仄，用了平声"_s});
    }

    void selectingPartOfTheDraftChecksThatPart()
    {
        show();
        typeLines(u"春风\n木木天天木，天天木木东。\n天天天木木，木木木天风。"_s);
        openByButton();
        QCOMPARE(viewRows().at(0), u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s);
        QTextCursor cursor = draft()->textCursor();
        cursor.setPosition(3);
        cursor.setPosition(3 + 12, QTextCursor::KeepAnchor);
        draft()->setTextCursor(cursor);
        // Two lines alone are the start of a quatrain.
        QCOMPARE(viewRows().at(0), u"五言绝句 · 仄起首句不入韵 · 上平一东 · 已写2句，尚缺2句"_s);
    }

    void theLookupFollowsTheCaretAndADoubleClickTypesIntoTheDraft()
    {
        show();
        typeText(draft(), u"木风"_s);
        openByButton();
        auto *edit = child<QLineEdit>(gelv(), u"Gelv_Char_Edit"_s);
        QCOMPARE(edit->text(), u"风"_s);
        QCOMPARE(child<QComboBox>(gelv(), u"Gelv_Group_ComboBox"_s)->itemText(0), u"上平一东"_s);
        QTextCursor cursor = draft()->textCursor();
        cursor.setPosition(1);
        draft()->setTextCursor(cursor);
        QCOMPARE(edit->text(), u"木"_s);
        QVERIFY(child<QLabel>(gelv(), u"Gelv_Books"_s)->text().startsWith(u"平水韵：入声一屋（入）　仄"_s));

        // A character typed into the lookup; its group's common characters apart from the rest.
        edit->clear();
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, u"红"_s, Qt::NoModifier);
        auto *common = child<QListWidget>(gelv(), u"Gelv_Common_List"_s);
        QCOMPARE(common->count(), 4);
        QCOMPARE(child<QListWidget>(gelv(), u"Gelv_Other_List"_s)->item(0)->text(), u"蒙"_s);

        // Double-clicking 红 puts it at the caret, as if typed: it is stored when the window closes.
        cursor = draft()->textCursor();
        cursor.setPosition(1);
        draft()->setTextCursor(cursor);
        QListWidgetItem *red = common->findItems(u"红"_s, Qt::MatchExactly).value(0);
        QVERIFY(red);
        const QPoint at = common->visualItemRect(red).center();
        QTest::mouseClick(common->viewport(), Qt::LeftButton, {}, at); // a double-click begins with a click
        QTest::mouseDClick(common->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(draft()->toPlainText(), u"木红风"_s);
        QVERIFY(w->close());
        QCOMPARE(fx->value("select 内容 from 作品 where 标题='草稿'"), u"木红风"_s);
    }

    void examplesFollowTheLookupAndTheSelection()
    {
        show();
        typeText(draft(), u"孤灯"_s);
        openByButton();
        auto *summary = child<QLabel>(gelv(), u"Gelv_Examples_Summary"_s);
        auto *list = child<QListWidget>(gelv(), u"Gelv_Examples_List"_s);
        QCOMPARE(summary->text(), u"「灯」共 2 句：唐 1 · 宋 1"_s); // the character before the caret
        QCOMPARE(list->count(), 2);
        QTextCursor cursor = draft()->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(2, QTextCursor::KeepAnchor);
        draft()->setTextCursor(cursor);
        QCOMPARE(summary->text(), u"「孤灯」共 1 句：唐 1"_s);
        QCOMPARE(list->item(0)->text(), u"独坐听风雨，孤灯伴客眠。　——张九《江楼》"_s);

        // A double-click shows the whole poem, read-only, with where it comes from.
        child<QTabWidget>(gelv(), u"Gelv_Tabs"_s)
            ->setCurrentWidget(child<QWidget>(gelv(), u"Gelv_Examples"_s));
        const QPoint at = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        auto *poem = gelv()->findChild<QDialog *>(u"Gelv_Poem"_s);
        QVERIFY(poem && poem->isVisible());
        auto *text = child<QTextBrowser>(poem, u"Gelv_Poem_Text"_s);
        QVERIFY(text->isReadOnly());
        QVERIFY(text->toPlainText().contains(u"江楼"_s));
        QVERIFY(text->toPlainText().contains(u"高楼望远天，落日照江船。"_s));
        QVERIFY(text->toPlainText().contains(u"出处：唐诗三百首"_s));

        // Typing over the selection ends it: the character looked up stands for the examples again.
        cursor.setPosition(0);
        cursor.setPosition(1, QTextCursor::KeepAnchor);
        draft()->setTextCursor(cursor);
        QCOMPARE(summary->text(), u"「孤」共 4 句：唐 2 · 宋 2"_s);
        typeText(draft(), u"灯"_s);
        QCOMPARE(summary->text(), u"「灯」共 2 句：唐 1 · 宋 1"_s);
    }

    // The 例句 and the lookup show what is there now: a selection that went takes its query with it,
    // and pinyin typed into 查字 lists its characters instead of showing the one before.
    void theExamplesAndTheLookupNeverShowAStaleQuery()
    {
        show();
        typeLines(u"孤灯\n春风"_s);
        openByButton();
        auto *summary = child<QLabel>(gelv(), u"Gelv_Examples_Summary"_s);
        const QString wind = summary->text();
        QVERIFY2(wind.startsWith(u"「风」共"_s), qPrintable(wind));
        QTest::keyClick(draft(), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(summary->text().endsWith(u"没有这样的句子"_s));
        QTextCursor end = draft()->textCursor();
        end.clearSelection();
        QTest::mouseClick(draft()->viewport(), Qt::LeftButton, {}, draft()->cursorRect(end).center());
        QVERIFY(!draft()->textCursor().hasSelection());
        QCOMPARE(summary->text(), wind);

        auto *edit = child<QLineEdit>(gelv(), u"Gelv_Char_Edit"_s);
        edit->clear();
        QTest::keyClicks(edit, u"feng"_s);
        QCOMPARE(child<QLabel>(gelv(), u"Gelv_Books"_s)->text(), QString()); // nothing of 风 shown for it
        auto *candidates = child<QListWidget>(gelv(), u"Gelv_Candidates_List"_s);
        QCOMPARE(candidates->count(), 1);
        QTest::mouseClick(candidates->viewport(), Qt::LeftButton, {},
                          candidates->visualItemRect(candidates->item(0)).center());
        QCOMPARE(edit->text(), u"风"_s);
        QCOMPARE(child<QLabel>(gelv(), u"Gelv_Readings"_s)->text(), u"fēng"_s);
        edit->clear();
        QTest::keyClicks(edit, u"xyz"_s);
        QCOMPARE(child<QLabel>(gelv(), u"Gelv_Typed_Note"_s)->text(), u"「xyz」不是汉字，也没有这样读的字"_s);
    }

    void aWordOfTheAssociationPageOpensItsExamples()
    {
        fx->insert(schema::tableWords, {schema::colWord, schema::colMeaning}, {u"孤灯"_s, u"一盏灯"_s});
        show();
        child<QTabWidget>(w, u"W_PageControl"_s)->setCurrentIndex(2);
        auto *page = child<AssociationPage>(w, u"Think"_s);
        auto *grid = child<DbGrid>(page, u"cizu_DBGrid"_s);
        QCOMPARE(grid->model()->index(0, 0).data().toString(), u"孤灯"_s);
        std::unique_ptr<QMenu> menu(
            page->rowMenu(grid, grid->visualRect(grid->model()->index(0, 0)).center()));
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions().first()->text(), u"查看例句"_s);
        QVERIFY(!page->rowMenu(grid, QPoint(5, grid->viewport()->height() - 2))); // below the rows
        menu->actions().first()->trigger();
        QTRY_VERIFY(gelv() && gelv()->isVisible());
        QCOMPARE(child<QTabWidget>(gelv(), u"Gelv_Tabs"_s)->currentWidget()->objectName(),
                 u"Gelv_Examples"_s);
        QCOMPARE(child<QLabel>(gelv(), u"Gelv_Examples_Summary"_s)->text(), u"「孤灯」共 1 句：唐 1"_s);
        QCOMPARE(child<QTabWidget>(w, u"W_PageControl"_s)->currentIndex(), 2); // the page stays
    }

    void aWordOfTheAssociationPageOpensItsCouplets()
    {
        fx->insert(schema::tableWords, {schema::colWord, schema::colMeaning}, {u"孤灯"_s, u"一盏灯"_s});
        show();
        child<QTabWidget>(w, u"W_PageControl"_s)->setCurrentIndex(2);
        auto *page = child<AssociationPage>(w, u"Think"_s);
        auto *grid = child<DbGrid>(page, u"cizu_DBGrid"_s);
        std::unique_ptr<QMenu> menu(
            page->rowMenu(grid, grid->visualRect(grid->model()->index(0, 0)).center()));
        QVERIFY(menu);
        QCOMPARE(menu->actions().last()->text(), u"查看对仗"_s);
        menu->actions().last()->trigger();
        QTRY_VERIFY(gelv() && gelv()->isVisible());
        QCOMPARE(child<QTabWidget>(gelv(), u"Gelv_Tabs"_s)->currentWidget()->objectName(),
                 u"Gelv_Couplets"_s);
        QCOMPARE(child<QLineEdit>(gelv(), u"Gelv_Couplets_Word"_s)->text(), u"孤灯"_s);
        // The test's corpus holds no regulated poem of four couplets: nothing is set against it.
        const QString summary = child<QLabel>(gelv(), u"Gelv_Couplets_Summary"_s)->text();
        QVERIFY2(summary.startsWith(u"「孤灯」"_s), qPrintable(summary));
    }

    void withoutTheClassicsTheExamplesSayWhy()
    {
        QFile::remove(fx->dir() + u"/date/classics.db"_s);
        show();
        typeText(draft(), u"孤"_s);
        openByButton();
        const QString summary = child<QLabel>(gelv(), u"Gelv_Examples_Summary"_s)->text();
        QVERIFY2(summary.contains(u"shihai-builddb --classics"_s), qPrintable(summary));
        QVERIFY(!summary.contains(u'\n'));
        QCOMPARE(child<QListWidget>(gelv(), u"Gelv_Examples_List"_s)->count(), 0);
        // The rest of the window works as before.
        QCOMPARE(child<QLineEdit>(gelv(), u"Gelv_Char_Edit"_s)->text(), u"孤"_s);
    }

    void withoutTheBooksTheWindowSaysWhyAndTheProgramGoesOn()
    {
        QFile::remove(fx->dir() + u"/date/rhymebooks.db"_s);
        show();
        typeText(draft(), u"春风"_s);
        openByButton();
        auto *message = child<QLabel>(gelv(), u"Gelv_Message"_s);
        QVERIFY(message->isVisible());
        QVERIFY(message->text().startsWith(u"找不到韵书文件"_s));
        QVERIFY(message->text().contains(u"shihai-builddb --rhymebooks"_s));
        QVERIFY(viewRows().isEmpty());
        typeText(draft(), u"明月"_s);
        QCOMPARE(panel(0), u"查询条件：显示所有记录"_s);
        QVERIFY(w->close());
        QCOMPARE(fx->value("select 内容 from 作品 where 标题='草稿'"), u"春风明月"_s);
        QVERIFY(fx->dialogs->calls.isEmpty());
    }
};

SHIHAI_TEST_MAIN(TestGelvWindow)
#include "test_gelvwindow.moc"

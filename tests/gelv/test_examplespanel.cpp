// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/examplespanel.h"
#include "presentation/gelv/examplessource.h"
#include "tests/testmain.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

namespace {

// Lines "第N句" of a made-up text, a page of ten at a time, up to total.
class StubExamples : public ExamplesSource {
public:
    int total = 0;
    int shown = 0;
    int fetches = 0;

    void start(int lines)
    {
        total = lines;
        shown = std::min(10, lines);
        emit reset();
    }
    QString summary() const override { return u"共 %1 句"_s.arg(total); }
    int rowCount() const override { return shown; }
    QString rowText(int row) const override { return u"第%1句"_s.arg(row + 1); }
    QString rowToolTip(int row) const override { return u"唐 · 某%1"_s.arg(row + 1); }
    bool canFetchMore() const override { return shown < total; }
    void fetchMore() override
    {
        ++fetches;
        if (!canFetchMore())
            return;
        const int from = shown;
        shown = std::min(total, shown + 10);
        emit rowsAdded(from);
    }
    std::optional<PoemPage> poemPage(int row) const override
    {
        return PoemPage{u"诗%1 · 某"_s.arg(row + 1), u"<h3>诗%1</h3><p>第%1句</p>"_s.arg(row + 1)};
    }
};

} // namespace

// The 例句 tab over a stub source: the lines shown with their summary, more as the list is scrolled,
// and the whole poem of a line on a double-click.
class TestExamplesPanel : public QObject {
    Q_OBJECT

    StubExamples m_source;
    std::unique_ptr<ExamplesPanel> m_panel;

    QListWidget *list() { return m_panel->findChild<QListWidget *>(u"Gelv_Examples_List"_s); }

private slots:
    void init()
    {
        m_source.start(0);
        m_source.fetches = 0;
        m_panel = std::make_unique<ExamplesPanel>(&m_source, nullptr);
        m_panel->resize(300, 120); // a page of ten lines fills the list
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    }
    void cleanup() { m_panel.reset(); }

    void theLinesComePageByPageAsTheListIsScrolled()
    {
        m_source.start(25);
        QCOMPARE(m_panel->findChild<QLabel *>(u"Gelv_Examples_Summary"_s)->text(), u"共 25 句"_s);
        QCOMPARE(list()->count(), 10);
        QCOMPARE(list()->item(9)->text(), u"第10句"_s);
        QCOMPARE(list()->item(9)->toolTip(), u"唐 · 某10"_s);
        QScrollBar *bar = list()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        QCOMPARE(list()->count(), 20);
        bar->setValue(bar->maximum());
        QCOMPARE(list()->count(), 25);
        QCOMPARE(list()->item(24)->text(), u"第25句"_s);

        // A new text starts again.
        m_source.start(3);
        QCOMPARE(list()->count(), 3);
    }

    // Pages come until the lines fill the list, and no more: not every line of a common character.
    void aFirstPageThatDoesNotFillTheListAsksForMore()
    {
        m_panel->resize(300, 500);
        QTRY_COMPARE(list()->height() > 200, true);
        m_source.start(1000);
        const int fill = list()->viewport()->height();
        const int row = list()->sizeHintForRow(0);
        QVERIFY2(list()->count() * row >= fill && (list()->count() - 10) * row < fill,
                 qPrintable(u"%1 rows of %2 in %3"_s.arg(list()->count()).arg(row).arg(fill)));
        QCOMPARE(m_source.fetches, list()->count() / 10 - 1);
    }

    void aDoubleClickShowsTheWholePoem()
    {
        m_source.start(5);
        const QPoint at = list()->visualItemRect(list()->item(2)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        auto *poem = m_panel->findChild<QDialog *>(u"Gelv_Poem"_s);
        QVERIFY(poem && poem->isVisible());
        QCOMPARE(poem->windowTitle(), u"诗3 · 某"_s);
        QCOMPARE(poem->findChild<QTextBrowser *>(u"Gelv_Poem_Text"_s)->toPlainText(), u"诗3\n第3句"_s);
    }
};

SHIHAI_TEST_MAIN(TestExamplesPanel)
#include "test_examplespanel.moc"

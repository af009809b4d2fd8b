// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/jiju/jijupanel.h"
#include "presentation/gelv/jiju/jijusource.h"
#include "tests/support/typing.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

namespace {

// Remembers the forms it is asked for; finds three lines for any.
class StubJiju : public JijuSource {
public:
    QList<JijuForm> asked;
    QString here;
    QStringList groups{u"上平一东"_s, u"下平七阳"_s};

    QStringList rhymeGroups() const override { return groups; }
    QStringList dynasties() const override { return {u"唐"_s, u"宋"_s}; }
    QString patternHere() const override { return here; }
    void search(const JijuForm &form) override
    {
        asked << form;
        emit reset();
    }
    QString summary() const override { return u"共 %1 次"_s.arg(asked.size()); }
    int rowCount() const override { return asked.isEmpty() ? 0 : 3; }
    QString rowText(int row) const override { return u"第%1句"_s.arg(row + 1); }
    QString rowToolTip(int) const override { return {}; }
    bool canFetchMore() const override { return false; }
    void fetchMore() override {}
    std::optional<ExamplesSource::PoemPage> poemPage(int row) const override
    {
        return ExamplesSource::PoemPage{u"诗%1 · 某"_s.arg(row + 1), u"<p>第%1句</p>"_s.arg(row + 1)};
    }
};

} // namespace

// The 集句 tab over a stub source: what its controls ask for, the pattern at the caret, and the whole
// poem of a line on a double-click.
class TestJijuPanel : public QObject {
    Q_OBJECT

    StubJiju m_source;
    std::unique_ptr<JijuPanel> m_panel;

    template <typename W> W *child(const QString &name) { return m_panel->findChild<W *>(name); }

private slots:
    void init()
    {
        m_source.asked.clear();
        m_source.here.clear();
        m_panel = std::make_unique<JijuPanel>(&m_source, nullptr);
        m_panel->resize(420, 300);
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    }
    void cleanup() { m_panel.reset(); }

    void theControlsAskForWhatTheyHold()
    {
        auto *rhyme = child<QComboBox>(u"Gelv_Jiju_Rhyme"_s);
        auto *dynasty = child<QComboBox>(u"Gelv_Jiju_Dynasty"_s);
        QCOMPARE(rhyme->count(), 3); // 不限 and the groups
        rhyme->setCurrentIndex(2);
        dynasty->setCurrentIndex(2);
        typeText(child<QLineEdit>(u"Gelv_Jiju_Places"_s), u"5=月"_s);
        typeText(child<QLineEdit>(u"Gelv_Jiju_Author"_s), u"杜甫"_s);
        auto *pattern = child<QLineEdit>(u"Gelv_Jiju_Pattern"_s);
        typeText(pattern, u"平平仄仄平"_s);
        QTest::keyClick(pattern, Qt::Key_Return);
        QCOMPARE(m_source.asked.size(), 1);
        QCOMPARE(m_source.asked.last(), (JijuForm{u"平平仄仄平"_s, 1, u"5=月"_s, u"宋"_s, u"杜甫"_s}));
        QCOMPARE(child<QLabel>(u"Gelv_Jiju_Summary"_s)->text(), u"共 1 次"_s);
        QCOMPARE(child<QListWidget>(u"Gelv_Jiju_List"_s)->count(), 3);

        // Another book's groups: the group picked goes where it is not there, stays where it is.
        m_source.groups = {u"十唐"_s, u"下平七阳"_s};
        emit m_source.choicesChanged();
        QCOMPARE(rhyme->currentText(), u"下平七阳"_s);
        m_source.groups = {u"十唐"_s};
        emit m_source.choicesChanged();
        QCOMPARE(rhyme->currentIndex(), 0);
        QTest::mouseClick(child<QPushButton>(u"Gelv_Jiju_Search"_s), Qt::LeftButton);
        QCOMPARE(m_source.asked.last().rhymeGroup, -1);
    }

    void theLineAtTheCaretFillsThePattern()
    {
        auto *fill = child<QPushButton>(u"Gelv_Jiju_FromCaret"_s);
        QTest::mouseClick(fill, Qt::LeftButton);
        QVERIFY(m_source.asked.isEmpty());
        QVERIFY(child<QLabel>(u"Gelv_Jiju_Summary"_s)->text().contains(u"光标不在"_s));
        m_source.here = u"中仄平平仄"_s;
        QTest::mouseClick(fill, Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(u"Gelv_Jiju_Pattern"_s)->text(), u"中仄平平仄"_s);
        QCOMPARE(m_source.asked.size(), 1);
        QCOMPARE(m_source.asked.last().pattern, u"中仄平平仄"_s);
    }

    void aDoubleClickShowsTheWholePoem()
    {
        m_source.search({.pattern = u"平"_s});
        auto *list = child<QListWidget>(u"Gelv_Jiju_List"_s);
        const QPoint at = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        auto *poem = m_panel->findChild<QDialog *>(u"Gelv_Jiju_Poem"_s);
        QVERIFY(poem && poem->isVisible());
        QCOMPARE(poem->windowTitle(), u"诗2 · 某"_s);
        QCOMPARE(poem->findChild<QTextBrowser *>(u"Gelv_Jiju_Poem_Text"_s)->toPlainText(), u"第2句"_s);
    }
};

SHIHAI_TEST_MAIN(TestJijuPanel)
#include "test_jijupanel.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/coupletpanel.h"
#include "presentation/gelv/coupletwordssource.h"
#include "tests/testmain.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// Two words set against whatever is looked up; the typed texts are kept.
class StubCouplets : public CoupletWordsSource {
public:
    QString looked;
    QStringList typed;

    void show(const QString &word)
    {
        looked = word;
        emit changed();
    }
    QString word() const override { return looked; }
    QString summary() const override { return u"与「%1」相对的词"_s.arg(looked); }
    QList<Row> rows() const override
    {
        if (looked.isEmpty())
            return {};
        return {{u"白云"_s, 22, u"露窗明月满，涧户白云飞"_s, u"某《甲》颔联 · 双击看全诗"_s},
                {u"青山"_s, 10, u"青山隔远路，明月空长霄"_s, u"某《乙》颈联 · 双击看全诗"_s}};
    }
    std::optional<ExamplesSource::PoemPage> poemPage(int row) const override
    {
        return ExamplesSource::PoemPage{u"诗%1 · 某"_s.arg(row + 1),
                                        u"<h3>诗%1</h3><p><b>那一联</b></p>"_s.arg(row + 1)};
    }
    void lookUpTyped(const QString &text) override
    {
        typed << text;
        show(text);
    }
};

} // namespace

// The 对仗 tab over a stub source: the words with their counts and couplets, a word typed in, and
// the poem of an example on a double-click.
class TestCoupletPanel : public QObject {
    Q_OBJECT

    StubCouplets m_source;
    std::unique_ptr<CoupletPanel> m_panel;

    QTreeWidget *list() { return m_panel->findChild<QTreeWidget *>(u"Gelv_Couplets_List"_s); }
    QLineEdit *edit() { return m_panel->findChild<QLineEdit *>(u"Gelv_Couplets_Word"_s); }

private slots:
    void init()
    {
        m_source.looked.clear();
        m_source.typed.clear();
        m_panel = std::make_unique<CoupletPanel>(&m_source, nullptr);
        m_panel->resize(400, 240);
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    }
    void cleanup() { m_panel.reset(); }

    void theWordsShowWithTheirCountsAndCouplets()
    {
        QCOMPARE(list()->topLevelItemCount(), 0);
        m_source.show(u"明月"_s);
        QCOMPARE(edit()->text(), u"明月"_s);
        QCOMPARE(m_panel->findChild<QLabel *>(u"Gelv_Couplets_Summary"_s)->text(), u"与「明月」相对的词"_s);
        QCOMPARE(list()->topLevelItemCount(), 2);
        const QTreeWidgetItem *first = list()->topLevelItem(0);
        QCOMPARE(first->text(0), u"白云"_s);
        QCOMPARE(first->text(1), u"22"_s);
        QCOMPARE(first->text(2), u"露窗明月满，涧户白云飞"_s);
        QCOMPARE(first->toolTip(2), u"某《甲》颔联 · 双击看全诗"_s);
    }

    void aTypedWordIsLookedUpAndKeptAsTyped()
    {
        edit()->setFocus();
        for (const QString &ch : {u"春"_s, u"风"_s})
            QTest::sendKeyEvent(QTest::Click, edit(), Qt::Key_unknown, ch, Qt::NoModifier);
        QCOMPARE(m_source.typed, (QStringList{u"春"_s, u"春风"_s}));
        QCOMPARE(edit()->text(), u"春风"_s);
        QCOMPARE(list()->topLevelItemCount(), 2);
    }

    void anExampleOpensItsPoem()
    {
        m_source.show(u"明月"_s);
        const QRect row = list()->visualItemRect(list()->topLevelItem(1));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row.center());
        auto *poem = m_panel->findChild<QDialog *>(u"Gelv_Couplets_Poem"_s);
        QVERIFY(poem && poem->isVisible());
        QCOMPARE(poem->windowTitle(), u"诗2 · 某"_s);
        QVERIFY(poem->findChild<QTextBrowser *>(u"Gelv_Couplets_Poem_Text"_s)
                    ->toPlainText()
                    .contains(u"那一联"_s));
    }
};

SHIHAI_TEST_MAIN(TestCoupletPanel)
#include "test_coupletpanel.moc"

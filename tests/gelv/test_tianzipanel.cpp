// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/tianzipanel.h"
#include "presentation/gelv/tianzisource.h"
#include "tests/testmain.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

class StubTianzi : public TianziSource {
public:
    QList<Row> shown;
    void show(const QList<Row> &rows)
    {
        shown = rows;
        emit changed();
    }
    QString summary() const override { return u"第2句第1字（仄）可填 %1 个"_s.arg(shown.size()); }
    QList<Row> rows() const override { return shown; }
};

} // namespace

// The 填字 tab over a stub source: the words follow the source, a 对 word says so, and a double-click
// types what the row asks for, the punctuation before it included.
class TestTianziPanel : public QObject {
    Q_OBJECT

    StubTianzi m_source;
    std::unique_ptr<TianziPanel> m_panel;

    QTreeWidget *list() { return m_panel->findChild<QTreeWidget *>(u"Gelv_Tianzi_List"_s); }

private slots:
    void init()
    {
        m_source.shown.clear();
        m_panel = std::make_unique<TianziPanel>(&m_source, nullptr);
        m_panel->resize(400, 240);
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    }
    void cleanup() { m_panel.reset(); }

    void aDoubleClickTypesTheWordTheListFollows()
    {
        QSignalSpy chosen(m_panel.get(), &TianziPanel::wordChosen);
        m_source.show(
            {{u"白云"_s, 12, u"白云千载空悠悠。"_s, u"崔颢《黄鹤楼》 · 双击填入"_s, true, u"白云"_s},
             {u"落"_s, 7, u"落日照大旗，"_s, u"杜甫《后出塞》 · 双击填入"_s, false, u"，落"_s}});
        QCOMPARE(m_panel->findChild<QLabel *>(u"Gelv_Tianzi_Summary"_s)->text(), m_source.summary());
        QCOMPARE(list()->topLevelItemCount(), 2);
        QCOMPARE(list()->topLevelItem(0)->text(0), u"白云 对"_s);
        QCOMPARE(list()->topLevelItem(1)->text(1), u"7"_s);
        QCOMPARE(list()->topLevelItem(1)->toolTip(2), u"杜甫《后出塞》 · 双击填入"_s);
        const QRect row = list()->visualItemRect(list()->topLevelItem(1));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toString(), u"，落"_s);
        m_source.show({});
        QCOMPARE(list()->topLevelItemCount(), 0);
    }
};

SHIHAI_TEST_MAIN(TestTianziPanel)
#include "test_tianzipanel.moc"

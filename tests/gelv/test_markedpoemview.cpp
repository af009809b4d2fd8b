// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/markedpoemview.h"
#include "pages/gelv/marks.h"
#include "tests/testmain.h"

#include <QHelpEvent>
#include <QPainter>
#include <QSet>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

MarkedRow row(MarkedRow::Kind kind, const QStringList &tips)
{
    MarkedRow r;
    r.kind = kind;
    r.tips = tips;
    for (qsizetype i = 0; i < tips.size(); ++i) {
        r.marks += u'○';
        if (kind == MarkedRow::Kind::Line) {
            r.chars << u"天"_s;
            r.expected += u' ';
            r.faults << false;
            r.rhymes << false;
        }
    }
    return r;
}

} // namespace

// The marked poem paints the rows it is given and shows the tip of the cell under the mouse.
class TestMarkedPoemView : public QObject {
    Q_OBJECT

    // The tips shown anywhere over the view, hovering it every few pixels.
    static QSet<QString> tipsShown(MarkedPoemView &view)
    {
        QSet<QString> shown;
        for (int y = 0; y < view.height(); y += 3) {
            for (int x = 0; x < view.width(); x += 3) {
                QHelpEvent hover(QEvent::ToolTip, QPoint(x, y), view.mapToGlobal(QPoint(x, y)));
                QApplication::sendEvent(&view, &hover);
                if (QToolTip::isVisible())
                    shown << QToolTip::text();
                QToolTip::hideText();
            }
        }
        return shown;
    }

private slots:
    void everyCellShowsItsTip()
    {
        MarkedPoemView view;
        MarkedRow summary;
        summary.kind = MarkedRow::Kind::Summary;
        summary.summary = u"双片调 · 正体 · 第一部 · 合谱"_s;
        view.setRows({summary, row(MarkedRow::Kind::Line, {u"天：平"_s, u"风：平\n第1句第2字"_s}),
                      row(MarkedRow::Kind::Gap, {}), row(MarkedRow::Kind::Pattern, {u"平 90%"_s})});
        const QSize size = view.minimumSize();
        QVERIFY(size.height() > 3 * 22);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(tipsShown(view), (QSet<QString>{u"天：平"_s, u"风：平\n第1句第2字"_s, u"平 90%"_s}));

        // Fewer rows, a smaller view, and the tips of the rows gone.
        view.setRows({summary});
        QTRY_VERIFY(!QToolTip::isVisible()); // the last tip goes after a moment
        QVERIFY(view.minimumSize().height() < size.height());
        QVERIFY(tipsShown(view).isEmpty());
    }

    // ○ 平, ● 仄 and ◎ 中 stay apart at the smallest size the view draws them (over a character):
    // light or dark at the centre, and between the dot and the ring.
    void theMarksAreToldApartWhenSmall()
    {
        for (int diameter : {10, 12}) {
            QStringList seen;
            for (QChar mark : {u'○', u'●', u'◎'}) {
                QImage image(diameter * 2, diameter * 2, QImage::Format_RGB32);
                image.fill(Qt::white);
                QPainter painter(&image);
                marks::paint(painter, image.rect(), mark, diameter, Qt::black);
                painter.end();
                const auto dark = [&](qreal x) {
                    return qGray(image.pixel(int(diameter + x), diameter)) < 128;
                };
                seen << QString(dark(0) ? u"x"_s : u"."_s) + (dark(diameter * 0.3) ? u"x"_s : u"."_s);
            }
            QCOMPARE(seen, (QStringList{u".."_s, u"xx"_s, u"x."_s}));
        }
    }
};

SHIHAI_TEST_MAIN(TestMarkedPoemView)
#include "test_markedpoemview.moc"

#include "pages/gelv/markedpoemview.h"

#include "pages/gelv/coupletmarks.h"
#include "pages/shared/look.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int kMargin = 8;
constexpr int kCell = 24;     // width of one character
constexpr int kExpected = 11; // the template's class above
constexpr int kChar = 22;
constexpr int kMark = 16;
constexpr int kGap = 2;
constexpr int kSummary = 22;

const QColor kFault(200, 0, 0);
const QColor kRhyme(0, 70, 160);
const QColor kQuiet(110, 110, 110);

QFont sized(int pixels, bool bold = false)
{
    QFont f = look::songFont();
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

} // namespace

MarkedPoemView::MarkedPoemView(QWidget *parent)
    : QWidget(parent)
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void MarkedPoemView::setRows(const QList<MarkedRow> &rows)
{
    m_rows = rows;
    // Assistive tools hear the verdict as the view's name and the lines with their marks as its
    // description, and are told when either changes.
    const QString verdict = spokenVerdict(rows), lines = spokenLines(rows);
    const bool newVerdict = verdict != accessibleName(), newLines = lines != accessibleDescription();
    setAccessibleName(verdict);
    setAccessibleDescription(lines);
    if (newVerdict) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
    if (newLines) {
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
    // Inside a scroll area: as large as the rows need, and scrolled when the window is smaller.
    setMinimumSize(sizeHint());
    update();
}

int MarkedPoemView::rowHeight(const MarkedRow &row)
{
    switch (row.kind) {
    case MarkedRow::Kind::Summary:
        return kSummary;
    case MarkedRow::Kind::Gap:
        return 10;
    case MarkedRow::Kind::Pattern:
        return kChar + kGap;
    case MarkedRow::Kind::Couplet:
        return coupletmarks::kHeight + kGap;
    case MarkedRow::Kind::Line:
        break;
    }
    return kExpected + kChar + kMark + kGap;
}

int MarkedPoemView::rowTop(int index) const
{
    int top = kMargin;
    for (int i = 0; i < index; ++i)
        top += rowHeight(m_rows.at(i));
    return top;
}

QRect MarkedPoemView::cellRect(int row, int column) const
{
    return QRect(kMargin + column * kCell, rowTop(row), kCell, rowHeight(m_rows.at(row)));
}

QSize MarkedPoemView::sizeHint() const
{
    int widest = 0;
    for (const MarkedRow &r : m_rows)
        widest = std::max<int>(widest, int(r.tips.size()) * kCell + 120);
    return QSize(kMargin * 2 + widest, rowTop(int(m_rows.size())) + kMargin);
}

void MarkedPoemView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect dirty = event->rect();
    const QFont summaryFont = sized(13, true), expectedFont = sized(10), charFont = sized(18),
                markFont = sized(13);
    int top = kMargin;
    for (const MarkedRow &row : m_rows) {
        const int height = rowHeight(row);
        if (top > dirty.bottom())
            break;
        if (top + height >= dirty.top()) {
            if (row.kind == MarkedRow::Kind::Gap) {
                // nothing: the space between the 片
            } else if (row.kind == MarkedRow::Kind::Couplet) {
                coupletmarks::paint(p, row, kMargin, top, kCell);
            } else if (row.kind == MarkedRow::Kind::Pattern) {
                p.setFont(markFont);
                p.setPen(kQuiet);
                for (qsizetype i = 0; i < row.marks.size(); ++i)
                    p.drawText(QRect(kMargin + int(i) * kCell, top, kCell, kChar), Qt::AlignCenter,
                               row.marks.at(i));
                if (!row.rhyme.isEmpty()) {
                    p.setFont(expectedFont);
                    p.setPen(kRhyme);
                    p.drawText(QRect(kMargin + int(row.marks.size()) * kCell + 6, top, 200, kChar),
                               Qt::AlignLeft | Qt::AlignVCenter, row.rhyme);
                }
            } else if (row.kind == MarkedRow::Kind::Summary) {
                p.setFont(summaryFont);
                p.setPen(row.ok ? palette().color(QPalette::Text) : kFault);
                p.drawText(QRect(kMargin, top, width() - 2 * kMargin, height),
                           Qt::AlignLeft | Qt::AlignVCenter, row.summary);
            } else {
                for (qsizetype i = 0; i < row.chars.size(); ++i) {
                    const int left = kMargin + int(i) * kCell;
                    const QColor ink = row.faults.at(i)   ? kFault
                                       : row.rhymes.at(i) ? kRhyme
                                                          : palette().color(QPalette::Text);
                    if (row.expected.at(i) != u' ') {
                        p.setFont(expectedFont);
                        p.setPen(kQuiet);
                        p.drawText(QRect(left, top, kCell, kExpected), Qt::AlignCenter, row.expected.at(i));
                    }
                    p.setFont(charFont);
                    p.setPen(ink);
                    p.drawText(QRect(left, top + kExpected, kCell, kChar), Qt::AlignCenter, row.chars.at(i));
                    if (row.rhymes.at(i))
                        p.drawLine(left + 3, top + kExpected + kChar - 1, left + kCell - 3,
                                   top + kExpected + kChar - 1);
                    p.setFont(markFont);
                    p.drawText(QRect(left, top + kExpected + kChar, kCell, kMark), Qt::AlignCenter,
                               row.marks.at(i));
                }
                if (!row.rhyme.isEmpty()) {
                    p.setFont(expectedFont);
                    p.setPen(kRhyme);
                    p.drawText(
                        QRect(kMargin + int(row.chars.size()) * kCell + 6, top + kExpected, 200, kChar),
                        Qt::AlignLeft | Qt::AlignVCenter, row.rhyme);
                }
            }
        }
        top += height;
    }
}

bool MarkedPoemView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const QPoint at = static_cast<QHelpEvent *>(event)->pos();
        for (int r = 0; r < m_rows.size(); ++r) {
            for (int c = 0; c < m_rows.at(r).tips.size(); ++c) { // a tip for every cell
                if (cellRect(r, c).contains(at)) {
                    QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), m_rows.at(r).tips.at(c),
                                       this);
                    return true;
                }
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/markedpoemview.h"

#include "pages/gelv/coupletmarks.h"
#include "pages/gelv/marks.h"
#include "pages/shared/look.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace {

constexpr int kMargin = 8;

const QColor kFault(200, 0, 0);
const QColor kRhyme(0, 70, 160);
const QColor kQuiet(110, 110, 110);

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

void MarkedPoemView::setScale(qreal scale)
{
    m_scale = scale;
    setRows(m_rows);
}

// The marks at a size told apart at a glance: a ring, a disc and a ring round a dot of 12 pixels
// under each character of 20, and of 10 over it.
MarkedPoemView::Metrics MarkedPoemView::metrics() const
{
    const auto px = [this](int pixels) { return int(std::lround(pixels * m_scale)); };
    return {px(28), px(16), px(26), px(18), px(3), px(24), px(12), px(10)};
}

QFont MarkedPoemView::sized(int pixels, bool bold) const
{
    QFont f = look::songFont();
    f.setPixelSize(int(std::lround(pixels * m_scale)));
    f.setBold(bold);
    return f;
}

int MarkedPoemView::rowHeight(const MarkedRow &row) const
{
    const Metrics m = metrics();
    switch (row.kind) {
    case MarkedRow::Kind::Summary:
        return m.summary;
    case MarkedRow::Kind::Gap:
        return m.gap * 3;
    case MarkedRow::Kind::Pattern:
        return m.chr + m.gap;
    case MarkedRow::Kind::Couplet:
        return coupletmarks::height(m_scale) + m.gap;
    case MarkedRow::Kind::Line:
        break;
    }
    return m.expected + m.chr + m.mark + m.gap;
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
    const int cell = metrics().cell;
    return QRect(kMargin + column * cell, rowTop(row), cell, rowHeight(m_rows.at(row)));
}

QSize MarkedPoemView::sizeHint() const
{
    int widest = 0;
    for (const MarkedRow &r : m_rows)
        widest = std::max<int>(widest, int(r.tips.size()) * metrics().cell + int(120 * m_scale));
    return QSize(kMargin * 2 + widest, rowTop(int(m_rows.size())) + kMargin);
}

void MarkedPoemView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect dirty = event->rect();
    const Metrics m = metrics();
    const QFont summaryFont = sized(14, true), expectedFont = sized(13), charFont = sized(20),
                markFont = sized(15), noteFont = sized(12);
    int top = kMargin;
    for (const MarkedRow &row : m_rows) {
        const int height = rowHeight(row);
        if (top > dirty.bottom())
            break;
        if (top + height >= dirty.top()) {
            if (row.kind == MarkedRow::Kind::Gap) {
                // nothing: the space between the 片
            } else if (row.kind == MarkedRow::Kind::Couplet) {
                coupletmarks::paint(p, row, kMargin, top, m.cell, m_scale);
            } else if (row.kind == MarkedRow::Kind::Pattern) {
                p.setFont(markFont);
                for (qsizetype i = 0; i < row.marks.size(); ++i)
                    marks::paint(p, QRect(kMargin + int(i) * m.cell, top, m.cell, m.chr), row.marks.at(i),
                                 m.markDiameter, kQuiet);
                if (!row.rhyme.isEmpty()) {
                    p.setFont(noteFont);
                    p.setPen(kRhyme);
                    p.drawText(
                        QRect(kMargin + int(row.marks.size()) * m.cell + 6, top, int(220 * m_scale), m.chr),
                        Qt::AlignLeft | Qt::AlignVCenter, row.rhyme);
                }
            } else if (row.kind == MarkedRow::Kind::Summary) {
                p.setFont(summaryFont);
                p.setPen(row.ok ? palette().color(QPalette::Text) : kFault);
                p.drawText(QRect(kMargin, top, width() - 2 * kMargin, height),
                           Qt::AlignLeft | Qt::AlignVCenter, row.summary);
            } else {
                for (qsizetype i = 0; i < row.chars.size(); ++i) {
                    const int left = kMargin + int(i) * m.cell;
                    const QColor ink = row.faults.at(i)   ? kFault
                                       : row.rhymes.at(i) ? kRhyme
                                                          : palette().color(QPalette::Text);
                    if (row.expected.at(i) != u' ') {
                        p.setFont(expectedFont);
                        marks::paint(p, QRect(left, top, m.cell, m.expected), row.expected.at(i),
                                     m.expectedDiameter, kQuiet);
                    }
                    p.setFont(charFont);
                    p.setPen(ink);
                    p.drawText(QRect(left, top + m.expected, m.cell, m.chr), Qt::AlignCenter,
                               row.chars.at(i));
                    if (row.rhymes.at(i))
                        p.drawLine(left + 3, top + m.expected + m.chr - 1, left + m.cell - 3,
                                   top + m.expected + m.chr - 1);
                    p.setFont(markFont);
                    marks::paint(p, QRect(left, top + m.expected + m.chr, m.cell, m.mark), row.marks.at(i),
                                 m.markDiameter, ink);
                }
                if (!row.rhyme.isEmpty()) {
                    p.setFont(noteFont);
                    p.setPen(kRhyme);
                    p.drawText(QRect(kMargin + int(row.chars.size()) * m.cell + 6, top + m.expected,
                                     int(220 * m_scale), m.chr),
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

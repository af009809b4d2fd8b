#include "markedpoemview.h"

#include "look.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

using namespace prosody;

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

void MarkedPoemView::setChecks(const QList<PoemCheck> &checks)
{
    m_rows.clear();
    for (const PoemCheck &check : checks) {
        Row summary;
        summary.summary = check.summary();
        summary.ok = check.ok();
        m_rows.append(summary);
        for (qsizetype l = 0; l < check.lines.size(); ++l) {
            const LineCheck &lc = check.lines.at(l);
            Row row;
            for (qsizetype i = 0; i < lc.line.size(); ++i) {
                row.chars.append(lc.line.text(i, 1));
                row.marks += classMark(lc.tones.at(i));
                const QChar want = i < lc.pattern.size() ? lc.pattern.at(i) : QChar();
                const bool differs = (want == u'平' && lc.tones.at(i) == ToneClass::Ze) ||
                                     (want == u'仄' && lc.tones.at(i) == ToneClass::Ping);
                row.expected += differs ? want : QChar(u' ');
                row.faults.append(false);
                row.rhymes.append(lc.rhymed && i == lc.line.size() - 1);
                row.tips.append(
                    QStringLiteral("%1：%2").arg(lc.line.text(i, 1)).arg(className(lc.tones.at(i))));
            }
            if (lc.rhymed && !check.rhyme.isEmpty())
                row.rhyme = QStringLiteral("韵·%1").arg(check.rhyme);
            for (const Finding &f : check.findings) {
                if (f.line != l + 1 || f.pos < 1 || f.pos > row.chars.size())
                    continue;
                if (f.isFault())
                    row.faults[f.pos - 1] = true;
                row.tips[f.pos - 1] += u'\n' + f.text;
            }
            m_rows.append(row);
        }
    }
    // Inside a scroll area: as large as the rows need, and scrolled when the window is smaller.
    setMinimumSize(sizeHint());
    update();
}

QStringList MarkedPoemView::rows() const
{
    QStringList out;
    for (const Row &r : m_rows) {
        if (!r.summary.isEmpty()) {
            out << r.summary;
            continue;
        }
        QString faults;
        for (bool f : r.faults)
            faults += f ? u'✗' : u' ';
        out << QStringLiteral("%1|%2|%3|%4|%5")
                   .arg(r.chars.join(QString()), r.marks, r.expected, faults, r.rhyme);
    }
    return out;
}

int MarkedPoemView::rowHeight(const Row &row) const
{
    return row.summary.isEmpty() ? kExpected + kChar + kMark + kGap : kSummary;
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
    for (const Row &r : m_rows)
        widest = std::max<int>(widest, int(r.chars.size()) * kCell + 120);
    return QSize(kMargin * 2 + widest, rowTop(int(m_rows.size())) + kMargin);
}

void MarkedPoemView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect dirty = event->rect();
    const QFont summaryFont = sized(13, true), expectedFont = sized(10), charFont = sized(18),
                markFont = sized(13);
    int top = kMargin;
    for (const Row &row : m_rows) {
        const int height = rowHeight(row);
        if (top > dirty.bottom())
            break;
        if (top + height >= dirty.top()) {
            if (!row.summary.isEmpty()) {
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
            for (int c = 0; c < m_rows.at(r).chars.size(); ++c) {
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

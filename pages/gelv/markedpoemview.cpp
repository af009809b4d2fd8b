#include "pages/gelv/markedpoemview.h"

#include "pages/shared/look.h"

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
        if (check.isCi())
            addCi(check);
        else
            addShi(check);
    }
    // Inside a scroll area: as large as the rows need, and scrolled when the window is smaller.
    setMinimumSize(sizeHint());
    update();
}

MarkedPoemView::Row MarkedPoemView::lineRow(const PoemCheck &check, qsizetype l) const
{
    const LineCheck &lc = check.lines.at(l);
    const CiLine *ciLine = check.isCi() && lc.formLine >= 0 && lc.formLine < check.ciForm->lines.size()
                               ? &check.ciForm->lines.at(lc.formLine)
                               : nullptr;
    Row row;
    for (qsizetype i = 0; i < lc.line.size(); ++i) {
        row.chars.append(lc.line.text(i, 1));
        row.marks += classMark(lc.tones.at(i));
        const QChar want = i < lc.pattern.size() ? lc.pattern.at(i) : QChar();
        if (check.isCi()) {
            // A 词 shows its whole pattern over the line: ○ 平, ● 仄, ◎ 中.
            row.expected += want == u'平' ? u'○' : want == u'仄' ? u'●' : want == u'中' ? u'◎' : u' ';
        } else {
            const bool differs = (want == u'平' && lc.tones.at(i) == ToneClass::Ze) ||
                                 (want == u'仄' && lc.tones.at(i) == ToneClass::Ping);
            row.expected += differs ? want : QChar(u' ');
        }
        row.faults.append(false);
        row.rhymes.append(lc.rhymed && i == lc.line.size() - 1);
        QString tip = QStringLiteral("%1：%2").arg(lc.line.text(i, 1)).arg(className(lc.tones.at(i)));
        if (ciLine && i < lc.shares.size())
            tip += QStringLiteral("\n谱：%1 %2%").arg(want).arg(lc.shares.at(i));
        row.tips.append(tip);
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
    return row;
}

void MarkedPoemView::addShi(const PoemCheck &check)
{
    for (qsizetype l = 0; l < check.lines.size(); ++l)
        m_rows.append(lineRow(check, l));
}

// The 词 along its form: each written line over its pattern, the form's lines not yet written as
// their pattern alone, and a gap between the 片.
void MarkedPoemView::addCi(const PoemCheck &check)
{
    const CiForm &form = *check.ciForm;
    int next = 0; // the form's next line to show
    const auto patternRows = [&](int upTo) {
        for (; next < upTo && next < form.lines.size(); ++next) {
            if (next == form.stanzaBreak && next > 0) {
                Row gap;
                gap.gap = true;
                m_rows.append(gap);
            }
            const CiLine &line = form.lines.at(next);
            Row row;
            row.patternOnly = true;
            row.marks = line.marks();
            for (const CiPosition &p : line.positions) {
                row.chars.append(QString());
                row.faults.append(false);
                row.rhymes.append(false);
                row.tips.append(p.tip());
            }
            if (line.rhymeRun > 0)
                row.rhyme = QStringLiteral("韵%1（%2）").arg(line.rhymeRun).arg(className(line.rhymeTone));
            m_rows.append(row);
        }
    };
    for (qsizetype l = 0; l < check.lines.size(); ++l) {
        const int formLine = check.lines.at(l).formLine;
        if (formLine >= next) {
            patternRows(formLine); // lines of the form the poem skipped
            if (formLine == form.stanzaBreak && formLine > 0) {
                Row gap;
                gap.gap = true;
                m_rows.append(gap);
            }
            next = formLine + 1;
        }
        m_rows.append(lineRow(check, l));
    }
    patternRows(int(form.lines.size()));
}

QStringList MarkedPoemView::rows() const
{
    QStringList out;
    for (const Row &r : m_rows) {
        if (!r.summary.isEmpty()) {
            out << r.summary;
            continue;
        }
        if (r.gap) {
            out << QStringLiteral("—");
            continue;
        }
        if (r.patternOnly) {
            out << QStringLiteral("谱|%1|%2").arg(r.marks, r.rhyme);
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
    if (row.gap)
        return 10;
    if (row.patternOnly)
        return kChar + kGap;
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
            if (row.gap) {
                // nothing: the space between the 片
            } else if (row.patternOnly) {
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
            } else if (!row.summary.isEmpty()) {
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

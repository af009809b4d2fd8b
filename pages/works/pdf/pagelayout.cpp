// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/works/pdf/pagelayout.h"

#include "pages/works/pdf/verticalforms.h"
#include "presentation/works/work.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace pagelayout {

namespace {

constexpr qreal lineStep = 1.15;   // the height a character takes, in its em
constexpr qreal columnWidth = 1.7; // the width of a column, in its em
constexpr qreal epsilon = 1e-6;

// Columns from the right edge of the area; a column that does not fit begins a page.
class Columns {
public:
    explicit Columns(const QRectF &area)
        : m_area(area)
        , m_right(area.right())
    {
    }
    void gap(qreal width) { m_right -= width; }
    // A gap with a rule down its middle, the height of the area; none where the page ends first.
    void rule(qreal width, QList<Placed> &out)
    {
        if (m_right - width >= m_area.left() - epsilon)
            out << Placed{m_page, QRectF(m_right - width / 2, m_area.top(), 0, m_area.height()), QString(),
                          Role::Rule};
        gap(width);
    }
    // Sets `chars` in columns of `em`, from the top or ending at the foot.
    void set(const QStringList &chars, qreal em, Role role, bool atFoot, QList<Placed> &out)
    {
        const qreal step = em * lineStep;
        const qreal width = em * columnWidth;
        const int perColumn = std::max(1, int(std::floor(m_area.height() / step + epsilon)));
        qsizetype start = 0;
        do {
            if (m_right - width < m_area.left() - epsilon) {
                ++m_page;
                m_right = m_area.right();
            }
            const qsizetype n = std::min<qsizetype>(perColumn, chars.size() - start);
            const qreal top = atFoot ? m_area.bottom() - n * step : m_area.top();
            for (qsizetype k = 0; k < n; ++k) {
                const QRectF cell(m_right - width, top + k * step, width, step);
                const QString &c = chars[start + k];
                if (verticalforms::atUpperRight(c))
                    out << Placed{m_page, QRectF(cell.center().x(), cell.top(), em / 2, step / 2), c, role,
                                  Fit::Ink};
                else
                    out << Placed{m_page, cell, c, role};
            }
            m_right -= width;
            start += n;
        } while (start < chars.size());
    }

private:
    QRectF m_area;
    qreal m_right;
    int m_page = 0;
};

// Lines from the top of the area; a line that does not fit begins a page.
class Lines {
public:
    Lines(const QRectF &area, const Advance &advance)
        : m_area(area)
        , m_advance(advance)
        , m_top(area.top())
    {
    }
    void gap(qreal height) { m_top += height; }
    // Sets one line of text in `em`, broken where it is wider than the area.
    void set(const QStringList &chars, qreal em, Role role, QList<Placed> &out)
    {
        // Characters are set side by side, so a run is as wide as its characters together.
        QString run;
        qreal width = 0;
        for (const QString &c : chars) {
            const qreal advance = m_advance(role, c);
            if (!run.isEmpty() && width + advance > m_area.width() + epsilon) {
                place(run, em, role, out);
                run.clear();
                width = 0;
            }
            run += c;
            width += advance;
        }
        place(run, em, role, out);
    }

private:
    void place(const QString &run, qreal em, Role role, QList<Placed> &out)
    {
        const qreal height = em * lineStep;
        if (m_top + height > m_area.bottom() + epsilon && m_top > m_area.top() + epsilon) {
            ++m_page;
            m_top = m_area.top();
        }
        if (!run.isEmpty())
            out << Placed{m_page, QRectF(m_area.left(), m_top, m_area.width(), height), run, role};
        m_top += height;
    }

    QRectF m_area;
    const Advance &m_advance;
    qreal m_top;
    int m_page = 0;
};

} // namespace

QStringList characters(const QString &text)
{
    QStringList out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype from = 0;
    while (finder.toNextBoundary() >= 0) {
        const qsizetype to = finder.position();
        const QString c = text.sliced(from, to - from);
        from = to;
        if (c == u"\t")
            out << QStringLiteral(" ");
        else if (c.size() != 1 || c[0].category() != QChar::Other_Control)
            out << c;
    }
    return out;
}

QString dateText(const QDate &date, bool vertical)
{
    if (!date.isValid())
        return {};
    if (!vertical)
        return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
    static const QString digits = QStringLiteral("〇一二三四五六七八九");
    auto number = [](int n) {
        // 1–31 as read: 十, 十二, 二十, 二十五, 三十一
        const QString tens = n >= 20   ? QString(digits[n / 10]) + u'十'
                             : n >= 10 ? QStringLiteral("十")
                                       : QString();
        return tens + (n % 10 || n < 10 ? QString(digits[n % 10]) : QString());
    };
    QString year;
    for (const QChar d : QString::number(date.year()))
        year += digits[d.digitValue()];
    return year + u'年' + number(date.month()) + u'月' + number(date.day()) + u'日';
}

QList<Placed> vertical(const Work &work, const Sizes &sizes)
{
    auto turned = [](QStringList chars) {
        for (QString &c : chars)
            c = verticalforms::turned(c);
        return chars;
    };
    QList<Placed> out;
    Columns columns(sizes.area);
    const QStringList title = turned(characters(work.title.simplified()));
    if (!title.isEmpty()) {
        columns.set(title, sizes.titleEm, Role::Title, false, out);
        columns.rule(sizes.textEm * columnWidth / 2, out); // sets the title apart
    }
    for (const QString &line : work.text.split(u'\n'))
        columns.set(turned(characters(line)), sizes.textEm, Role::Text, false, out);
    const QString date = dateText(work.date, true);
    if (!date.isEmpty()) {
        columns.gap(sizes.textEm * columnWidth / 2);
        columns.set(characters(date), sizes.dateEm, Role::Date, true, out);
    }
    return out;
}

QList<Placed> horizontal(const Work &work, const Sizes &sizes, const Advance &advance)
{
    QList<Placed> out;
    Lines lines(sizes.area, advance);
    const QStringList title = characters(work.title.simplified());
    if (!title.isEmpty()) {
        lines.set(title, sizes.titleEm, Role::Title, out);
        lines.gap(sizes.textEm * lineStep / 2);
    }
    for (const QString &line : work.text.split(u'\n'))
        lines.set(characters(line), sizes.textEm, Role::Text, out);
    const QString date = dateText(work.date, false);
    if (!date.isEmpty()) {
        lines.gap(sizes.textEm * lineStep / 2);
        lines.set(characters(date), sizes.dateEm, Role::Date, out);
    }
    return out;
}

int pageCount(const QList<Placed> &placed)
{
    int pages = 1;
    for (const Placed &p : placed)
        pages = std::max(pages, p.page + 1);
    return pages;
}

} // namespace pagelayout

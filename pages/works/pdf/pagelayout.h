// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>

struct Work;

// Where the title, the text and the date of a work go on its pages, worked out before anything is
// painted. Vertically, as vertical books are set: columns from the right, characters from the top,
// the title in the first column with a rule after it, the date at the foot of the last,
// brackets and quotation marks turned and stops at the upper right of their cells
// (verticalforms.h); horizontally, lines from the top with the title centred above and the date to
// the right below, punctuation as it is. A work that does not fit continues on further pages.
namespace pagelayout {

// A rule is a line, not a glyph: its box has no width and no text.
enum class Role { Title, Text, Date, Rule };

// How a glyph sits in its box: its advance centred across the box (a character in its cell), or its
// drawn shape centred in the box (a stop, whose box is the upper right of its cell).
enum class Fit { Advance, Ink };

struct Placed {
    int page; // counted from the work's first page
    QRectF box;
    QString text; // one character vertically, a run of a line horizontally
    Role role;
    Fit fit = Fit::Advance;
};

// The area inside the margins and the em of each role's font, in the same units.
struct Sizes {
    QRectF area;
    qreal titleEm;
    qreal textEm;
    qreal dateEm;
};

// The width of a run of text in a role's font.
using Advance = std::function<qreal(Role, const QString &)>;

QList<Placed> vertical(const Work &work, const Sizes &sizes);
QList<Placed> horizontal(const Work &work, const Sizes &sizes, const Advance &advance);
// The pages a layout takes (at least one).
int pageCount(const QList<Placed> &placed);

// The characters of a text as they are set: control characters are left out, a tab is a space.
QStringList characters(const QString &text);
// The date as it is printed: in Chinese numerals vertically (二〇二四年三月五日), in digits
// horizontally.
QString dateText(const QDate &date, bool vertical);

} // namespace pagelayout

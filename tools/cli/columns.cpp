// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cli/columns.h"

namespace columns {

namespace {

bool wide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE10 && c <= 0xFE19) ||
           (c >= 0xFE30 && c <= 0xFE6F) || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

// Marks a line may not begin with, and marks it may not end with.
bool closing(char32_t c)
{
    return c <= 0xFFFF && QStringView(u"，。、；：！？）》」』”’】〕…·,.;:!?)]").contains(QChar(char16_t(c)));
}
bool opening(char32_t c)
{
    return c <= 0xFFFF && QStringView(u"（《「『“‘【〔([").contains(QChar(char16_t(c)));
}

// One piece that is not broken: a Chinese character with the closing marks after it, or a word.
struct Piece {
    QString text;
    bool spaceBefore = false;
};

QList<Piece> pieces(QStringView text)
{
    QList<Piece> out;
    bool space = false;
    bool afterOpening = false;
    bool afterWide = false;
    for (const char32_t c : text.toUcs4()) {
        if (c == U' ') {
            space = true;
            continue;
        }
        // A piece ends at a space and on either side of a Chinese character, except where a
        // closing mark follows or an opening mark went before.
        const bool join =
            !out.isEmpty() && !space && (afterOpening || closing(c) || (!wide(c) && !afterWide));
        if (join)
            out.last().text += QString::fromUcs4(&c, 1);
        else
            out << Piece{QString::fromUcs4(&c, 1), space && !out.isEmpty()};
        afterOpening = opening(c);
        afterWide = wide(c);
        space = false;
    }
    return out;
}

} // namespace

int width(QStringView text)
{
    int columns = 0;
    for (const char32_t c : text.toUcs4())
        columns += wide(c) ? 2 : 1;
    return columns;
}

QStringList wrap(QStringView text, int limit)
{
    QStringList lines;
    QString line;
    for (const Piece &piece : pieces(text)) {
        const QString gap = piece.spaceBefore && !line.isEmpty() ? QStringLiteral(" ") : QString();
        if (!line.isEmpty() && width(line) + width(gap) + width(piece.text) > limit) {
            lines << line;
            line = piece.text;
        } else {
            line += gap + piece.text;
        }
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

} // namespace columns

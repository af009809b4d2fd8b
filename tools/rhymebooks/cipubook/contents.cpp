// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/contents.h"

namespace cipubook {

namespace {

// "怨三三一" → 怨三三 and 1: the longest numeral at the end that is a well-formed one.
std::pair<Text, int> nameAndCount(TextView text)
{
    for (size_t k = std::min<size_t>(4, text.size() - 1); k >= 1; --k) {
        const TextView tail = text.substr(text.size() - k);
        bool digits = true;
        for (const char32_t c : tail)
            digits = digits && isNumeralChar(c);
        const int n = digits ? numeral(tail) : -1;
        if (n > 0)
            return {Text(text.substr(0, text.size() - k)), n};
    }
    return {Text(text), -1};
}

} // namespace

QList<PrintedEntry> readContents(const QList<PrintedLine> &lines)
{
    QList<PrintedEntry> out;
    for (const PrintedLine &line : lines) {
        const TextView t = line.text;
        if (t == U"欽定四庫全書" || contains(t, U"目録") || contains(t, U"目錄"))
            continue;
        const QList<Piece> pieces = piecesOf(t);
        if (pieces.first().small) {
            QList<Piece> blocks;
            for (const Piece &p : pieces)
                if (p.small)
                    blocks << p;
            if (!out.isEmpty())
                out.last().aliasList << blocks;
            continue;
        }
        Text head;
        for (const char32_t c : pieces.first().text)
            if (c != kBlank)
                head.push_back(c);
        if (head.size() < 2 || (head.back() != U'體' && head.back() != U'首'))
            continue;
        head.pop_back();
        PrintedEntry e;
        const auto [name, count] = nameAndCount(head);
        e.entry.juan = line.juan;
        e.entry.name = toQString(name);
        e.entry.forms = count;
        e.entry.place = {line.juan, line.page};
        QList<Piece> blocks;
        for (qsizetype i = 1; i < pieces.size(); ++i)
            if (pieces[i].small)
                blocks << pieces[i];
        if (!blocks.isEmpty())
            e.aliasList << blocks;
        out.append(e);
    }
    return out;
}

} // namespace cipubook

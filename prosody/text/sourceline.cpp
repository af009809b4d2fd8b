// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/text/sourceline.h"

#include <QHash>

#include <algorithm>

namespace prosody {

namespace {

bool isStop(QChar c)
{
    return QStringLiteral("，。！？；：、,.!?;:").contains(c);
}

} // namespace

bool SourceLine::hasStops() const
{
    return std::any_of(visible.begin(), visible.end(), isStop);
}

bool SourceLine::endsLikeVerse() const
{
    const QString t = visible.trimmed();
    return !t.isEmpty() && QStringLiteral("，。！？；,.!?;").contains(t.back());
}

SourceLine sourceLine(const QString &text, const QList<bool> &mask, int offset, int length, int number)
{
    SourceLine out;
    out.offset = offset;
    out.end = offset + length;
    Line current;
    current.sourceLine = number;
    const auto flush = [&](bool closed) {
        if (!current.chars.isEmpty()) {
            current.closed = closed;
            out.segments.append(current);
        }
        current = Line{};
        current.sourceLine = number;
    };
    for (int i = offset; i < offset + length; ++i) {
        if (mask.at(i)) {
            out.notes = true;
            continue;
        }
        char32_t c = text.at(i).unicode();
        const int at = i;
        if (text.at(i).isHighSurrogate() && i + 1 < offset + length && text.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1)), ++i;
        out.visible += QString::fromUcs4(&c, 1);
        if (isLineBreak(c)) {
            flush(true);
        } else if (isVerseChar(c) || isLostChar(c)) {
            current.chars.append(c);
            current.offsets.append(at);
        }
    }
    flush(false);
    out.kind = kindOfLine(out.visible);
    return out;
}

int modalLength(const QList<SourceLine> &lines)
{
    QHash<qsizetype, int> counts;
    for (const SourceLine &line : lines)
        for (const Line &l : line.segments)
            ++counts[l.size()];
    qsizetype best = 0;
    int bestCount = 0;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        if (it.value() > bestCount || (it.value() == bestCount && it.key() > best))
            best = it.key(), bestCount = it.value();
    return int(best);
}

bool regulatedShape(const QList<SourceLine> &lines)
{
    qsizetype count = 0, length = -1;
    for (const SourceLine &line : lines)
        for (const Line &l : line.segments) {
            if (length >= 0 && l.size() != length)
                return false;
            length = l.size();
            ++count;
        }
    return (length == 5 || length == 7) && (count == 4 || count == 8 || (count >= 10 && count % 2 == 0));
}

} // namespace prosody

#include "prosody/text/reader.h"

#include "prosody/text/nonverse.h"
#include "prosody/text/notes.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace prosody {

bool isLineBreak(char32_t c)
{
    switch (c) {
    case u'，':
    case u'。':
    case u'！':
    case u'？':
    case u'；':
    case u'：':
    case u'、':
    case u',':
    case u'.':
    case u'!':
    case u'?':
    case u';':
    case u':':
    case u' ':
    case u'\t':
    case u'\u3000':
        return true;
    default:
        return false;
    }
}

namespace {

bool endsLikeVerse(const QString &line)
{
    const QString t = line.trimmed();
    return !t.isEmpty() && QStringLiteral("，。！？；,.!?;").contains(t.back());
}

// One physical line of the source: its text without the notes, and its verse segments.
struct SourceLine {
    QString visible;
    int offset = 0;
    int end = 0;
    bool notes = false; // it held a note
    LineKind kind = LineKind::Verse;
    QList<Line> segments;
};

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
        } else if (isVerseChar(c)) {
            current.chars.append(c);
            current.offsets.append(at);
        }
    }
    flush(false);
    out.kind = kindOfLine(out.visible);
    return out;
}

// The commonest segment length of some lines, the longer one on a tie.
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

using Block = QList<SourceLine>;

// Whether a line holds only a name ("杜甫"): one whose dynasty stood in brackets ("【唐】杜甫"), or the
// line under a title in a poem whose lines end like verse. A short line at the end is not taken for a
// name: it may be the line the poet is typing.
bool isBareName(const Block &block, qsizetype i)
{
    const SourceLine &line = block.at(i);
    if (!looksLikeName(line.visible) || endsLikeVerse(line.visible))
        return false;
    return line.notes || (i == 1 && !endsLikeVerse(block.first().visible) &&
                          std::any_of(block.begin() + 2, block.end(),
                                      [](const SourceLine &l) { return endsLikeVerse(l.visible); }));
}

// The poem of a block: its author and date lines set apart, its title taken, its verse lines read.
Poem poemOf(Block block)
{
    Poem poem;
    poem.start = block.first().offset;
    poem.end = block.last().end;
    for (qsizetype i = block.size() - 1; i >= 0; --i) {
        const SourceLine &line = block.at(i);
        if (line.kind == LineKind::Author || (i > 0 && isBareName(block, i))) {
            if (poem.author.isEmpty())
                poem.author = line.visible.trimmed();
            block.removeAt(i);
        } else if (line.kind == LineKind::Date) {
            block.removeAt(i);
        }
    }
    if (block.isEmpty())
        return poem;
    qsizetype first = 0;
    if (block.size() > 1 && !endsLikeVerse(block.first().visible)) {
        const int length = modalLength(block.mid(1));
        const QList<Line> &segs = block.first().segments;
        if (std::any_of(segs.begin(), segs.end(), [&](const Line &l) { return l.size() != length; })) {
            poem.title = block.first().visible.trimmed();
            first = 1;
        }
    }
    for (qsizetype i = first; i < block.size(); ++i)
        poem.lines += block.at(i).segments;
    return poem;
}

// A numbered note under a poem ("1.", "①", "二、"), which carries on the notes of the block before.
bool continuesNotes(const SourceLine &line)
{
    static const QRegularExpression numbered(
        QStringLiteral("^\\s*([0-9０-９]{1,2}[.．、)）]|[①-⑳]|[一二三四五六七八九十]{1,2}、)"));
    return line.kind == LineKind::Commentary || numbered.match(line.visible).hasMatch();
}

// A block that is only a short line (and perhaps its author) without the punctuation of verse: the
// title of the block after it.
bool isTitleBlock(const Block &block)
{
    return block.size() == 1 && !endsLikeVerse(block.first().visible) && block.first().segments.size() == 1 &&
           block.first().visible.trimmed().size() <= 12;
}

} // namespace

bool isVerseChar(char32_t c)
{
    return QChar::script(c) == QChar::Script_Han && QChar::isLetter(c);
}

QString Line::text() const
{
    return QString::fromUcs4(chars.constData(), chars.size());
}

QString Line::text(qsizetype from, qsizetype count) const
{
    return QString::fromUcs4(chars.constData() + from, count);
}

Poem joined(const Poem &first, const Poem &second)
{
    Poem out = first;
    out.lines += second.lines;
    out.end = second.end;
    return out;
}

QList<Poem> readPoems(const QString &text)
{
    const QList<bool> mask = noteMask(text);
    // Blocks of lines between blank lines; lines that are only notes belong to none.
    QList<Block> blocks;
    Block block;
    bool notes = false; // under a poem, in its notes
    int offset = 0, number = 0;
    for (const QString &raw : text.split(u'\n')) {
        const int length = int(raw.size()) - (raw.endsWith(u'\r') ? 1 : 0);
        const SourceLine line = sourceLine(text, mask, offset, length, number);
        offset += int(raw.size()) + 1;
        ++number;
        if (line.visible.trimmed().isEmpty()) {
            if (!line.notes && !block.isEmpty())
                blocks.append(block), block.clear();
            continue;
        }
        if (block.isEmpty())
            notes = notes && continuesNotes(line);
        notes = notes || line.kind == LineKind::Commentary;
        if (!notes && !line.segments.isEmpty())
            block.append(line);
    }
    if (!block.isEmpty())
        blocks.append(block);

    QList<Poem> poems;
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        Poem poem = poemOf(blocks.at(i));
        if (poem.lines.isEmpty())
            continue; // only an author or a date: no poem
        if (isTitleBlock(blocks.at(i)) && i + 1 < blocks.size()) {
            Poem next = poemOf(blocks.at(i + 1));
            if (!next.lines.isEmpty() && next.title.isEmpty()) {
                next.title = blocks.at(i).first().visible.trimmed();
                next.start = poem.start;
                poem = next, ++i;
            }
        }
        poems.append(poem);
    }
    return poems;
}

} // namespace prosody

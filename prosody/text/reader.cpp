// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/text/reader.h"

#include "prosody/text/nonverse.h"
#include "prosody/text/notes.h"
#include "prosody/text/sourceline.h"
#include "prosody/text/titles.h"

#include <QRegularExpression>

namespace prosody {

namespace {

using Block = QList<SourceLine>;

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
    return block.size() == 1 && !block.first().endsLikeVerse() && block.first().segments.size() == 1 &&
           block.first().visible.trimmed().size() <= 12;
}

} // namespace

Poem joined(const Poem &first, const Poem &second)
{
    Poem out = first;
    out.lines += second.lines;
    out.end = second.end;
    return out;
}

QList<Poem> readPoems(const QString &text, const ReadingNames &names)
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
        if (line.kind == LineKind::Section || line.kind == LineKind::Part) {
            if (line.kind == LineKind::Part && !block.isEmpty())
                blocks.append(block), block.clear();
            notes = false;
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
        Poem poem = poemOf(blocks.at(i), names);
        if (poem.lines.isEmpty())
            continue; // only an author or a date: no poem
        if (isTitleBlock(blocks.at(i)) && i + 1 < blocks.size()) {
            Poem next = poemOf(blocks.at(i + 1), names);
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

#include "prosody/text/reader.h"

#include <QHash>

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

// One physical line of the source: its verse segments.
struct SourceLine {
    QString text;
    int offset = 0;
    int number = 0;
    QList<Line> segments;
};

QList<Line> segmentsOf(const QString &text, int offset, int number)
{
    QList<Line> out;
    Line current;
    current.sourceLine = number;
    const auto flush = [&] {
        if (!current.chars.isEmpty())
            out.append(current);
        current = Line{};
        current.sourceLine = number;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        const int at = offset + int(i);
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1)), ++i;
        if (isLineBreak(c)) {
            flush();
        } else if (isVerseChar(c)) {
            current.chars.append(c);
            current.offsets.append(at);
        }
    }
    flush();
    return out;
}

// The commonest segment length, the longer one on a tie.
int modalLength(const QList<SourceLine> &lines, qsizetype from)
{
    QHash<qsizetype, int> counts;
    for (qsizetype i = from; i < lines.size(); ++i)
        for (const Line &l : lines.at(i).segments)
            ++counts[l.size()];
    qsizetype best = 0;
    int bestCount = 0;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        if (it.value() > bestCount || (it.value() == bestCount && it.key() > best))
            best = it.key(), bestCount = it.value();
    return int(best);
}

Poem poemOf(const QList<SourceLine> &block)
{
    Poem poem;
    qsizetype first = 0;
    if (block.size() > 1 && !endsLikeVerse(block.first().text)) {
        const int length = modalLength(block, 1);
        const QList<Line> &segs = block.first().segments;
        if (std::any_of(segs.begin(), segs.end(), [&](const Line &l) { return l.size() != length; })) {
            poem.title = block.first().text.trimmed();
            first = 1;
        }
    }
    for (qsizetype i = first; i < block.size(); ++i)
        poem.lines += block.at(i).segments;
    poem.start = block.first().offset;
    poem.end = block.last().offset + int(block.last().text.size());
    return poem;
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
    QList<Poem> poems;
    QList<SourceLine> block;
    int offset = 0;
    int number = 0;
    const QStringList physical = text.split(u'\n');
    for (const QString &raw : physical) {
        QString line = raw;
        if (line.endsWith(u'\r'))
            line.chop(1);
        SourceLine sl{line, offset, number, segmentsOf(line, offset, number)};
        offset += int(raw.size()) + 1;
        ++number;
        if (sl.segments.isEmpty()) {
            if (line.trimmed().isEmpty() && !block.isEmpty())
                poems.append(poemOf(block)), block.clear();
            continue;
        }
        block.append(sl);
    }
    if (!block.isEmpty())
        poems.append(poemOf(block));
    return poems;
}

} // namespace prosody

// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/text/titles.h"

#include <algorithm>
#include <numeric>

namespace prosody {

namespace {

using Block = QList<SourceLine>;

bool quoted(const SourceLine &line)
{
    const QString t = line.visible.trimmed();
    return t.size() > 2 && t.startsWith(u'《') && t.endsWith(u'》');
}

// Whether a line names a 词牌 or a form: by its head before a dot or a blank ("七律·长征", "念奴娇
// 赤壁怀古"), or, standing alone, by the 词牌's own name (not an alias, which may be a 词's first 句:
// 大江东去).
bool namesForm(const SourceLine &line, const ReadingNames &names)
{
    static const QStringList forms = {
        QStringLiteral("五绝"),     QStringLiteral("七绝"),     QStringLiteral("五律"),
        QStringLiteral("七律"),     QStringLiteral("绝句"),     QStringLiteral("律诗"),
        QStringLiteral("五言绝句"), QStringLiteral("七言绝句"), QStringLiteral("五言律诗"),
        QStringLiteral("七言律诗"), QStringLiteral("排律"),     QStringLiteral("五言排律"),
        QStringLiteral("七言排律"), QStringLiteral("古风"),     QStringLiteral("五古"),
        QStringLiteral("七古"),     QStringLiteral("对联"),     QStringLiteral("五絕"),
        QStringLiteral("七絕"),     QStringLiteral("五律"),     QStringLiteral("七律"),
        QStringLiteral("絕句"),     QStringLiteral("律詩")};
    if (line.hasStops())
        return false;
    QString t = line.visible.trimmed();
    for (const QChar dot : {u'・', u'•', u'‧', u'･', u'.', u'\u3000', u' '})
        t.replace(dot, u'·');
    const qsizetype dot = t.indexOf(u'·');
    const QString head = dot < 0 ? t : t.left(dot);
    if (forms.contains(head))
        return true;
    return names.isTune && !head.isEmpty() && names.isTune(head, dot < 0);
}

bool strongTitle(const SourceLine &line, const ReadingNames &names)
{
    return quoted(line) || namesForm(line, names);
}

// Whether a line holds only a name ("杜甫"): one whose dynasty stood in brackets ("【唐】杜甫"), or the
// line under a title above verse whose every line has stops, under a title that names a form, or, in
// a text without stops, between a first line and a regulated shape that it would otherwise break.
bool isBareName(const Block &block, qsizetype i, const ReadingNames &names)
{
    const SourceLine &line = block.at(i);
    if (!looksLikeName(line.visible) || line.hasStops())
        return false;
    if (line.notes)
        return true;
    if (i != 1 || block.size() < 3)
        return false;
    if (strongTitle(block.first(), names))
        return true;
    if (block.first().hasStops())
        return false;
    return std::all_of(block.begin() + 2, block.end(), [](const SourceLine &l) { return l.hasStops(); }) ||
           (regulatedShape(block.mid(2)) && !regulatedShape(block.mid(1)));
}

// Whether all 句 of the lines have one length.
bool oneLength(const Block &lines, qsizetype length)
{
    return std::all_of(lines.begin(), lines.end(), [&](const SourceLine &line) {
        return std::all_of(line.segments.begin(), line.segments.end(),
                           [&](const Line &l) { return l.size() == length; });
    });
}

enum class Evidence { None, Doubtful, Clear };

Evidence titleEvidence(const Block &block, bool authorUnder, const ReadingNames &names)
{
    const SourceLine &first = block.first();
    if (strongTitle(first, names) || authorUnder)
        return Evidence::Clear;
    if (first.hasStops())
        return Evidence::None;
    const auto clear = [](bool yes) { return yes ? Evidence::Clear : Evidence::None; };
    const Block rest = block.mid(1);
    if (std::all_of(rest.begin(), rest.end(), [](const SourceLine &l) { return l.hasStops(); })) {
        if (first.segments.size() > 1) // "静夜思 李白": words of other lengths than the verse's 句
            return clear(std::any_of(first.segments.begin(), first.segments.end(),
                                     [&](const Line &l) { return l.size() != modalLength(rest); }));
        const qsizetype length = first.segments.first().size();
        // A 诗 being written whose first line waits for its stop, unless the rest is whole without it:
        // a regulated shape, or four 句 and more each line closed by its stop.
        const qsizetype jus =
            std::accumulate(rest.begin(), rest.end(), qsizetype(0),
                            [](qsizetype n, const SourceLine &l) { return n + l.segments.size(); });
        if (regulatedShape(rest) ||
            (jus >= 4 &&
             std::all_of(rest.begin(), rest.end(), [](const SourceLine &l) { return l.endsLikeVerse(); })))
            return Evidence::Clear;
        const int modal = modalLength(rest);
        if (oneLength(rest, modal))
            return clear(length != modal);
        // Lines of several lengths whose final stops may have been dropped: a 词's first 句, perhaps.
        return Evidence::Doubtful;
    }
    return clear(first.segments.size() == 1 && regulatedShape(rest) && !regulatedShape(block));
}

} // namespace

Poem poemOf(Block block, const ReadingNames &names)
{
    Poem poem;
    poem.start = block.first().offset;
    poem.end = block.last().end;
    bool authorUnder = false; // an author line right under the first line
    for (qsizetype i = block.size() - 1; i >= 0; --i) {
        const SourceLine &line = block.at(i);
        if (line.kind == LineKind::Author || (i > 0 && isBareName(block, i, names))) {
            if (poem.author.isEmpty())
                poem.author = line.visible.trimmed();
            authorUnder = authorUnder || i == 1;
            block.removeAt(i);
        } else if (line.kind == LineKind::Date) {
            block.removeAt(i);
        }
    }
    if (block.isEmpty())
        return poem;
    qsizetype first = 0;
    const Evidence evidence = block.size() > 1 ? titleEvidence(block, authorUnder, names) : Evidence::None;
    if (evidence != Evidence::None) {
        if (evidence == Evidence::Doubtful)
            poem.doubtfulTitle = block.first().segments;
        poem.title = block.first().visible.trimmed();
        if (quoted(block.first()))
            poem.title = poem.title.mid(1, poem.title.size() - 2).trimmed();
        first = 1;
    }
    for (qsizetype i = first; i < block.size(); ++i)
        poem.lines += block.at(i).segments;
    return poem;
}

} // namespace prosody

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/ciform.h"

#include "prosody/text/reader.h"

#include <QSet>

#include <algorithm>
#include <numeric>
#include <tuple>

namespace builddb {

namespace {

constexpr int kFixedPercent = 85;

// Marks that may stand in a poem's text without belonging to its lines.
bool isQuietMark(char32_t c)
{
    return c <= 0xFFFF && QStringView(u"《》〈〉“”‘’「」『』…—·・").contains(QChar(char16_t(c)));
}

QChar fixedTone(const DerivedPosition &p)
{
    const int known = p.ping + p.ze;
    if (known > 0 && p.ping * 100 >= kFixedPercent * known)
        return u'平';
    if (known > 0 && p.ze * 100 >= kFixedPercent * known)
        return u'仄';
    return u'中';
}

bool shareSection(const QList<int> &a, const QList<int> &b)
{
    return std::any_of(a.begin(), a.end(), [&](int s) { return b.contains(s); });
}

// For each run of each poem: the 部 most of its rhymes share, and each other 部 of a rhyme outside it
// (a character of one 部 only, so that a character of two readings does not count).
void countSharing(const QList<QList<QList<int>>> &ends, const QList<int> &run, int runs,
                  RhymeSharing &sharing)
{
    for (const QList<QList<int>> &poem : ends) {
        for (int r = 1; r <= runs; ++r) {
            QHash<int, int> votes;
            for (qsizetype l = 0; l < poem.size(); ++l)
                if (run[l] == r)
                    for (int s : poem[l])
                        ++votes[s];
            int main = 0;
            for (auto it = votes.cbegin(); it != votes.cend(); ++it)
                if (main == 0 || std::pair(it.value(), -it.key()) > std::pair(votes.value(main), -main))
                    main = it.key();
            if (main == 0 || votes.value(main) < 2)
                continue;
            ++sharing.runs[main];
            QSet<int> others;
            for (qsizetype l = 0; l < poem.size(); ++l)
                if (run[l] == r && poem[l].size() == 1 && poem[l].first() != main)
                    others.insert(poem[l].first());
            for (int o : others)
                ++sharing.pairs[{main, o}];
        }
    }
}

// The rhyme runs of a form. A line end belongs to the main run when at least half the poems have
// there the 部 most of their line ends share (the poem's main 部); the other line ends form further
// runs where two of them share a 部 in at least three poems of four (菩萨蛮 changes rhyme every two
// lines). The stricter share keeps chance pairs of a small form out: true pairs share in over 90%.
void findRhymes(DerivedForm &form, const QList<const CorpusPoem *> &poems, const CiLookup &lookup,
                RhymeSharing &sharing)
{
    const int n = int(poems.size());
    const int lines = int(form.lines.size());
    QList<QList<QList<int>>> ends(n); // per poem, per line: the 部 of the line's last character
    QList<int> mainShare(lines, 0);
    for (int p = 0; p < n; ++p) {
        QHash<int, int> votes;
        for (int l = 0; l < lines; ++l) {
            ends[p].append(lookup.value(poems[p]->lines[l].last()).sections);
            for (int s : ends[p][l])
                ++votes[s];
        }
        // Most line ends; on a tie the 部 of the last line (a 词 ends on its rhyme), then the first 部.
        const auto rank = [&](int s) {
            return std::tuple(votes.value(s), ends[p][lines - 1].contains(s), -s);
        };
        int main = 0;
        for (auto it = votes.cbegin(); it != votes.cend(); ++it)
            if (main == 0 || rank(it.key()) > rank(main))
                main = it.key();
        for (int l = 0; l < lines; ++l)
            mainShare[l] += main != 0 && ends[p][l].contains(main);
    }

    QList<int> run(lines, 0);
    QList<int> mainRun;
    for (int l = 0; l < lines; ++l)
        if (2 * mainShare[l] >= n)
            mainRun << l;
    QList<int> parent(lines);
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&](int x) {
        while (parent[x] != x)
            x = parent[x];
        return x;
    };
    if (mainRun.size() >= 2)
        for (int l : mainRun)
            parent[root(l)] = root(mainRun.first());
    for (int a = 0; a < lines; ++a) {
        if (mainRun.contains(a))
            continue;
        for (int b = a + 1; b < lines; ++b) {
            if (mainRun.contains(b))
                continue;
            int shared = 0;
            for (int p = 0; p < n; ++p)
                shared += shareSection(ends[p][a], ends[p][b]);
            if (4 * shared >= 3 * n)
                parent[root(b)] = root(a);
        }
    }
    QHash<int, int> members;
    for (int l = 0; l < lines; ++l)
        ++members[root(l)];
    QHash<int, int> number; // root → run number, in the order the runs begin
    for (int l = 0; l < lines; ++l) {
        if (members.value(root(l)) < 2)
            continue;
        if (!number.contains(root(l)))
            number.insert(root(l), int(number.size()) + 1);
        run[l] = number.value(root(l));
    }

    QSet<QChar> tones;
    for (int l = 0; l < lines; ++l) {
        DerivedLine &line = form.lines[l];
        line.rhymeRun = run[l];
        if (run[l] == 0)
            continue;
        const DerivedPosition &last = line.positions.last();
        line.rhymeTone = last.ping > last.ze ? u'平' : u'仄';
        tones.insert(line.rhymeTone);
        for (int p = 0; p < n; ++p) {
            bool shared = false;
            for (int o = 0; o < lines && !shared; ++o)
                shared = o != l && run[o] == run[l] && shareSection(ends[p][l], ends[p][o]);
            line.rhymed += shared;
        }
    }
    countSharing(ends, run, int(number.size()), sharing);
    if (number.size() > 1)
        form.scheme = QStringLiteral("换韵");
    else if (tones.size() > 1)
        form.scheme = QStringLiteral("平仄通叶");
    else if (tones.contains(u'平'))
        form.scheme = QStringLiteral("平韵");
    else if (tones.contains(u'仄'))
        form.scheme = QStringLiteral("仄韵");
    else
        form.scheme = QStringLiteral("无韵");
}

// Whether two lines of a form could be the same line of two 片: one length, both rhymed or both
// not, and no position fixed the opposite way.
bool sameLine(const DerivedLine &a, const DerivedLine &b)
{
    if (a.length != b.length || (a.rhymeRun == 0) != (b.rhymeRun == 0))
        return false;
    for (int i = 0; i < a.length; ++i) {
        const QChar x = a.positions[i].tone, y = b.positions[i].tone;
        if (x != u'中' && y != u'中' && x != y)
            return false;
    }
    return true;
}

// The source does not mark the 片: the break is inferred where a sentence ends in most poems, the two
// parts are of about one size (within a fifth of the whole), and either the second part ends with the
// same lines as the first (two lines at least; the longest such ending wins) or, failing that, the
// rhyme changes there and no run goes across.
int inferStanzaBreak(const DerivedForm &form, const QList<int> &sentenceEnds)
{
    const int lines = int(form.lines.size());
    int total = 0;
    for (const DerivedLine &l : form.lines)
        total += l.length;
    int best = 0, bestTail = 0, bestGap = 0, fallback = 0, fallbackGap = 0;
    int first = 0;
    for (int k = 1; k < lines; ++k) {
        first += form.lines[k - 1].length;
        const int gap = std::abs(2 * first - total);
        if (2 * sentenceEnds[k - 1] < form.poems || 5 * gap > total)
            continue;
        int tail = 0;
        while (tail < std::min(k, lines - k) &&
               sameLine(form.lines[k - 1 - tail], form.lines[lines - 1 - tail]))
            ++tail;
        if (tail >= 2 && (tail > bestTail || (tail == bestTail && gap < bestGap)))
            best = k, bestTail = tail, bestGap = gap;
        QSet<int> before, after;
        for (int l = 0; l < lines; ++l)
            if (form.lines[l].rhymeRun)
                (l < k ? before : after).insert(form.lines[l].rhymeRun);
        if (form.lines[k - 1].rhymeRun && !before.intersects(after) && !after.isEmpty() &&
            (fallback == 0 || gap < fallbackGap))
            fallback = k, fallbackGap = gap;
    }
    return best ? best + 1 : fallback ? fallback + 1 : 0;
}

} // namespace

DerivedForm deriveForm(const QList<const CorpusPoem *> &poems, const CiLookup &lookup, RhymeSharing &sharing)
{
    DerivedForm form;
    form.poems = int(poems.size());
    const QList<int> lengths = lengthsOf(poems.first()->structure);
    QList<int> sentenceEnds(lengths.size(), 0);
    for (qsizetype l = 0; l < lengths.size(); ++l) {
        DerivedLine line;
        line.length = lengths[l];
        for (int i = 0; i < line.length; ++i) {
            DerivedPosition pos;
            for (const CorpusPoem *poem : poems) {
                const CiCharInfo info = lookup.value(poem->lines[l][i]);
                if (info.ping && info.ze)
                    ++pos.both;
                else if (info.ping)
                    ++pos.ping;
                else if (info.ze)
                    ++pos.ze;
                else
                    ++pos.unknown;
            }
            pos.tone = fixedTone(pos);
            line.positions.append(pos);
        }
        for (const CorpusPoem *poem : poems)
            sentenceEnds[l] += poem->sentenceEnds[l];
        form.lines.append(line);
    }
    findRhymes(form, poems, lookup, sharing);
    QSet<QString> authors;
    for (const CorpusPoem *poem : poems)
        authors.insert(poem->author);
    form.authors = int(authors.size());
    form.stanzaBreak = inferStanzaBreak(form, sentenceEnds);

    // The example: the poem that keeps the most fixed positions, the earliest on a tie.
    int bestFit = -1;
    for (const CorpusPoem *poem : poems) {
        int fit = 0;
        for (qsizetype l = 0; l < lengths.size(); ++l) {
            for (int i = 0; i < lengths[l]; ++i) {
                const QChar want = form.lines[l].positions[i].tone;
                const CiCharInfo info = lookup.value(poem->lines[l][i]);
                fit += (want == u'平' && info.ping) || (want == u'仄' && info.ze);
            }
        }
        if (fit > bestFit) {
            bestFit = fit;
            form.example = poem->author + u'：' + poem->opening;
        }
    }
    return form;
}

// Lines split where the metre check's reader splits them; lost characters (□) hold their place. A
// bracketed note is dropped; the poem is damaged (nullopt) when a note says text is lost, when it
// holds an encoding fault or when nothing is left.
std::optional<CorpusPoem> readCorpusPoem(const CorpusCi &ci)
{
    CorpusPoem poem;
    QList<char32_t> line;
    bool sentence = false;
    const auto flush = [&] {
        if (!line.isEmpty()) {
            poem.lines.append(line);
            poem.sentenceEnds.append(sentence);
        }
        line.clear();
    };
    for (const QString &paragraph : ci.paragraphs) {
        int depth = 0;
        QString note;
        for (const char32_t c : paragraph.toUcs4()) {
            if (c == U'（' || c == U'(') {
                ++depth;
            } else if (c == U'）' || c == U')') {
                if (depth == 0 || note.contains(u'缺'))
                    return std::nullopt;
                --depth;
                note.clear();
            } else if (depth > 0) {
                note += QString::fromUcs4(&c, 1);
            } else if (prosody::isLineBreak(c)) {
                sentence = c == U'。' || c == U'！' || c == U'？';
                flush();
            } else if (prosody::isVerseChar(c) || prosody::isLostChar(c)) {
                line.append(c);
            } else if (!isQuietMark(c)) {
                return std::nullopt;
            }
        }
        if (depth != 0)
            return std::nullopt;
        sentence = true;
        flush();
        if (!poem.lines.isEmpty())
            poem.sentenceEnds.last() = true;
    }
    if (poem.lines.isEmpty())
        return std::nullopt;
    QStringList lengths;
    for (const QList<char32_t> &l : poem.lines)
        lengths << QString::number(l.size());
    poem.structure = lengths.join(u',');
    poem.author = ci.author;
    poem.opening = ci.paragraphs.value(0).trimmed();
    return poem;
}

QList<int> lengthsOf(const QString &structure)
{
    QList<int> out;
    for (const QStringView n : QStringView(structure).split(u','))
        out << n.toInt();
    return out;
}

using Histogram = QHash<QString, int>;

QList<int> DerivedForm::lengths() const
{
    QList<int> out;
    for (const DerivedLine &l : lines)
        out << l.length;
    return out;
}

} // namespace builddb

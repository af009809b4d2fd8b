#include "tools/builddb/cipu.h"

#include "prosody/text/reader.h"
#include "tools/builddb/builderror.h"
#include "tools/builddb/rhymegroups.h"
#include "tools/builddb/sources.h"

#include <QDir>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <numeric>
#include <optional>
#include <tuple>

namespace builddb {

namespace {

constexpr int kMinTunePoems = 10;
constexpr int kMinVariantPoems = 5;
// A main form must rest on a few poems: with fewer, every position would look fixed.
constexpr int kMinMainPoems = 3;
constexpr int kFixedPercent = 85;
constexpr char16_t kLost = u'□';

// Other names of a 词牌 known for certain, joined to it when the forms agree.
const QList<std::pair<QString, QStringList>> &aliasList()
{
    static const QList<std::pair<QString, QStringList>> list = {
        {QStringLiteral("念奴娇"),
         {QStringLiteral("大江东去"), QStringLiteral("酹江月"), QStringLiteral("百字令"),
          QStringLiteral("百字谣"), QStringLiteral("壶中天")}},
        {QStringLiteral("蝶恋花"),
         {QStringLiteral("鹊踏枝"), QStringLiteral("凤栖梧"), QStringLiteral("黄金缕"),
          QStringLiteral("卷珠帘")}},
        {QStringLiteral("忆江南"),
         {QStringLiteral("望江南"), QStringLiteral("梦江南"), QStringLiteral("江南好")}},
        {QStringLiteral("采桑子"), {QStringLiteral("丑奴儿")}},
        {QStringLiteral("如梦令"), {QStringLiteral("忆仙姿"), QStringLiteral("宴桃源")}},
        {QStringLiteral("鹧鸪天"), {QStringLiteral("思佳客")}},
        {QStringLiteral("玉楼春"), {QStringLiteral("木兰花")}},
        {QStringLiteral("一斛珠"), {QStringLiteral("醉落魄")}},
        {QStringLiteral("虞美人"), {QStringLiteral("一江春水")}},
        {QStringLiteral("菩萨蛮"), {QStringLiteral("子夜歌"), QStringLiteral("重叠金")}},
    };
    return list;
}

// The parts of a written name that name a tune: "醉落魄・一斛珠" gives both; a part lost to □,
// 自度曲 (a tune of the poet's own) and 失调名 (the name is lost) give none.
QStringList nameParts(const QString &written)
{
    QString n = written;
    for (const QChar dot : {u'・', u'·', u'•', u'‧', u'･'})
        n.replace(dot, u'·');
    QStringList parts;
    for (const QString &p : n.split(u'·')) {
        const QString t = p.trimmed();
        if (!t.isEmpty() && !t.contains(kLost) && t != u"自度曲" && t != u"失调名")
            parts << t;
    }
    return parts;
}

// Marks that may stand in a poem's text without belonging to its lines.
bool isQuietMark(char32_t c)
{
    return c <= 0xFFFF && QStringView(u"《》〈〉“”‘’「」『』…—·・").contains(QChar(char16_t(c)));
}

// A poem of the corpus read into lines.
struct Poem {
    int index = 0;
    QString author;
    QString opening; // the first paragraph
    QList<QList<char32_t>> lines;
    QList<bool> sentenceEnds; // the line closes a sentence (。！？ or the paragraph's end)
    QString structure;        // "7,7,7,7,7,7"
};

// Lines split where the metre check's reader splits them; lost characters (□) hold their place. A
// bracketed note is dropped; the poem is damaged (nullopt) when a note says text is lost, when it
// holds an encoding fault or when nothing is left.
std::optional<Poem> readPoem(const CorpusCi &ci)
{
    Poem poem;
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
            } else if (prosody::isVerseChar(c) || c == kLost) {
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

// Whether the forms of two groups of names agree: at least half the poems of the smaller one have a
// structure that the larger one has twice or more (or as its commonest).
bool formsAgree(const Histogram &smaller, const Histogram &larger)
{
    const int top = larger.isEmpty() ? 0 : *std::max_element(larger.cbegin(), larger.cend());
    int fit = 0, total = 0;
    for (auto it = smaller.cbegin(); it != smaller.cend(); ++it) {
        total += it.value();
        const int there = larger.value(it.key());
        if (there >= 2 || (there > 0 && there == top))
            fit += it.value();
    }
    return 2 * fit >= total;
}

// The poems written under one name exactly as the corpus writes it.
struct Written {
    QString name;
    QStringList parts;
    QString usual; // the part the corpus gives as the tune's usual name: the last one
    QList<int> poems;
};

// Groups of written names joined so far, with the structures of all their poems.
class Joins {
public:
    explicit Joins(const QList<Written> &written)
        : m_parent(written.size())
        , m_histogram(written.size())
    {
        std::iota(m_parent.begin(), m_parent.end(), 0);
    }
    void count(int group, const QString &structure) { ++m_histogram[group][structure]; }
    int find(int g)
    {
        while (m_parent[g] != g)
            g = m_parent[g] = m_parent[m_parent[g]];
        return g;
    }
    int size(int root) const
    {
        return std::accumulate(m_histogram[root].cbegin(), m_histogram[root].cend(), 0);
    }
    // Joins the groups of a and b when their forms agree.
    bool join(int a, int b)
    {
        int ra = find(a), rb = find(b);
        if (ra == rb)
            return true;
        if (size(ra) < size(rb))
            std::swap(ra, rb);
        if (!formsAgree(m_histogram[rb], m_histogram[ra]))
            return false;
        for (auto it = m_histogram[rb].cbegin(); it != m_histogram[rb].cend(); ++it)
            m_histogram[ra][it.key()] += it.value();
        m_histogram[rb].clear();
        m_parent[rb] = ra;
        return true;
    }

private:
    QList<int> m_parent;
    QList<Histogram> m_histogram;
};

struct Link {
    int from;
    int to;
    QString reason;
};

// Links between written names: a name shared by both ("醉落魄・一斛珠" and "一斛珠"), a 令/慢/近/引
// suffix ("浪淘沙令" and "浪淘沙"), our list of aliases. Each goes to the largest group bearing the name.
QList<Link> linksOf(const QList<Written> &written)
{
    QHash<QString, int> bearer;
    QList<int> bySize(written.size());
    std::iota(bySize.begin(), bySize.end(), 0);
    std::stable_sort(bySize.begin(), bySize.end(),
                     [&](int a, int b) { return written[a].poems.size() > written[b].poems.size(); });
    for (int g : bySize)
        for (const QString &part : written[g].parts)
            if (!bearer.contains(part))
                bearer.insert(part, g);

    QList<Link> links;
    const auto link = [&](int g, const QString &name, const QString &reason) {
        const int to = bearer.value(name, -1);
        if (to >= 0 && to != g)
            links.append({g, to, reason});
    };
    for (int g = 0; g < written.size(); ++g) {
        for (const QString &part : written[g].parts) {
            link(g, part, QStringLiteral("集中写法"));
            if (part.size() > 2 && QStringView(u"令慢近引").contains(part.back()))
                link(g, part.chopped(1), QStringLiteral("令慢"));
            for (const auto &[usual, others] : aliasList())
                if (others.contains(part))
                    link(g, usual, QStringLiteral("别名表"));
        }
    }
    std::stable_sort(links.begin(), links.end(), [&](const Link &a, const Link &b) {
        return written[a.from].poems.size() + written[a.to].poems.size() >
               written[b.from].poems.size() + written[b.to].poems.size();
    });
    return links;
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

// The rhyme runs of a form. A line end belongs to the main run when at least half the poems have
// there the 部 most of their line ends share (the poem's main 部); the other line ends form further
// runs where two of them share a 部 in at least three poems of four (菩萨蛮 changes rhyme every two
// lines). The stricter share keeps chance pairs of a small form out: true pairs share in over 90%.
void findRhymes(DerivedForm &form, const QList<const Poem *> &poems, const CiLookup &lookup)
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

DerivedForm deriveForm(const QList<const Poem *> &poems, const CiLookup &lookup)
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
            for (const Poem *poem : poems) {
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
        for (const Poem *poem : poems)
            sentenceEnds[l] += poem->sentenceEnds[l];
        form.lines.append(line);
    }
    findRhymes(form, poems, lookup);
    form.stanzaBreak = inferStanzaBreak(form, sentenceEnds);

    // The example: the poem that keeps the most fixed positions, the earliest on a tie.
    int bestFit = -1;
    for (const Poem *poem : poems) {
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

} // namespace

QList<int> DerivedForm::lengths() const
{
    QList<int> out;
    for (const DerivedLine &l : lines)
        out << l.length;
    return out;
}

QList<CorpusCi> readSongCi(const QString &dist, const Converter &t2s)
{
    const QDir folder(QDir(dist).filePath(QStringLiteral("songci")));
    QStringList files = folder.entryList({QStringLiteral("ci.song.*.json")}, QDir::Files);
    if (files.isEmpty())
        throw BuildError(folder.path(), QStringLiteral("holds no ci.song.*.json files"));
    // ci.song.0.json, ci.song.1000.json …: in the order of the numbers, the corpus's own order.
    static const QRegularExpression number(QStringLiteral("^ci\\.song\\.(\\d+)\\.json$"));
    const auto rank = [](const QString &name) {
        const QRegularExpressionMatch m = number.match(name);
        return m.hasMatch() ? m.captured(1).toLongLong() : std::numeric_limits<qint64>::max();
    };
    std::stable_sort(files.begin(), files.end(), [&](const QString &a, const QString &b) {
        return std::pair(rank(a), a) < std::pair(rank(b), b);
    });
    QList<CorpusCi> out;
    for (const QString &name : files) {
        const QString path = folder.filePath(name);
        for (const QJsonValue &value : readJsonArray(path)) {
            const QJsonObject entry = value.toObject();
            const QJsonValue paragraphs = entry.value(QStringLiteral("paragraphs"));
            if (!entry.value(QStringLiteral("rhythmic")).isString() || !paragraphs.isArray())
                throw BuildError(path,
                                 QStringLiteral("an entry has no \"rhythmic\" text or \"paragraphs\" list"));
            QStringList lines;
            for (const QJsonValue &line : paragraphs.toArray())
                lines << line.toString();
            // One conversion per poem: OpenCC keeps the line breaks.
            CorpusCi ci{t2s(entry.value(QStringLiteral("author")).toString()).trimmed(),
                        t2s(entry.value(QStringLiteral("rhythmic")).toString()).trimmed(),
                        t2s(lines.join(u'\n')).split(u'\n')};
            out.append(ci);
        }
    }
    return out;
}

CiLookup ciLookupOf(const RhymeBooks &books)
{
    CiLookup lookup;
    for (const Book &book : books.books) {
        if (book.name == books::pingshui) {
            for (const BookChar &c : book.chars)
                (c.tone == u'平' ? lookup[c.hanzi].ping : lookup[c.hanzi].ze) = true;
        } else if (book.name == books::cilin) {
            QHash<QString, int> order;
            for (const BookGroup &g : book.groups)
                order.insert(g.name, g.order);
            for (const BookChar &c : book.chars) {
                QList<int> &sections = lookup[c.hanzi].sections;
                const int s = order.value(c.group);
                if (s > 0 && !sections.contains(s))
                    sections.append(s);
            }
        }
    }
    return lookup;
}

DerivedCipu deriveCipu(const QList<CorpusCi> &corpus, const CiLookup &lookup)
{
    DerivedCipu out;
    CipuCounts &counts = out.counts;
    counts.poems = int(corpus.size());

    QList<Poem> poems;
    QList<Written> written;
    QHash<QString, int> writtenIndex;
    for (qsizetype i = 0; i < corpus.size(); ++i) {
        std::optional<Poem> poem = readPoem(corpus[i]);
        if (!poem) {
            ++counts.damaged;
            continue;
        }
        const QStringList parts = nameParts(corpus[i].tune);
        if (parts.isEmpty()) {
            ++counts.untitled;
            continue;
        }
        poem->index = int(i);
        const QString key = parts.join(u'·');
        auto it = writtenIndex.constFind(key);
        if (it == writtenIndex.constEnd()) {
            it = writtenIndex.insert(key, int(written.size()));
            written.append({key, parts, parts.last(), {}});
        }
        written[*it].poems.append(int(poems.size()));
        poems.append(*poem);
    }

    Joins joins(written);
    for (qsizetype g = 0; g < written.size(); ++g)
        for (int p : written[g].poems)
            joins.count(int(g), poems[p].structure);
    for (const Link &link : linksOf(written)) {
        const bool big = joins.size(joins.find(link.from)) + joins.size(joins.find(link.to)) >= kMinTunePoems;
        const QString line = QStringLiteral("%1 (%2) → %3 (%4), %5")
                                 .arg(written[link.from].name)
                                 .arg(written[link.from].poems.size())
                                 .arg(written[link.to].name)
                                 .arg(written[link.to].poems.size())
                                 .arg(link.reason);
        if (joins.find(link.from) == joins.find(link.to))
            continue;
        if (joins.join(link.from, link.to))
            out.joined << line;
        else if (big)
            out.refused << line;
    }

    // The groups of names of 10 poems or more, the largest first.
    struct Group {
        QHash<QString, int> usual; // poems per name the corpus gives as the usual one
        QHash<QString, int> named; // poems per name, however written
        QList<const Poem *> members;
    };
    QHash<int, Group> byRoot;
    for (qsizetype g = 0; g < written.size(); ++g) {
        Group &group = byRoot[joins.find(int(g))];
        group.usual[written[g].usual] += int(written[g].poems.size());
        for (const QString &part : written[g].parts)
            group.named[part] += int(written[g].poems.size());
        for (int p : written[g].poems)
            group.members.append(&poems[p]);
    }
    QList<Group> groups;
    for (const Group &group : std::as_const(byRoot)) {
        if (group.members.size() < kMinTunePoems)
            counts.smallTunes += int(group.members.size());
        else
            groups.append(group);
    }
    std::sort(groups.begin(), groups.end(), [](const Group &a, const Group &b) {
        return a.members.size() > b.members.size() ||
               (a.members.size() == b.members.size() && a.members.first()->index < b.members.first()->index);
    });

    QSet<QString> taken;
    for (Group &group : groups) {
        std::sort(group.members.begin(), group.members.end(),
                  [](const Poem *a, const Poem *b) { return a->index < b->index; });
        DerivedTune tune;
        tune.poems = int(group.members.size());
        // The name the corpus gives most often as the usual one, then the others by use; a name that
        // a larger group already bears goes to that one ("雨中花・夜行船" apart from 夜行船 is 雨中花).
        QStringList names = group.named.keys();
        std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
            return std::tuple(-group.usual.value(a), -group.named.value(a), a) <
                   std::tuple(-group.usual.value(b), -group.named.value(b), b);
        });
        for (const QString &name : names)
            if (tune.name.isEmpty() && !taken.contains(name))
                tune.name = name;
        if (tune.name.isEmpty())
            tune.name = names.first() + QStringLiteral("（%1首）").arg(tune.poems);
        taken.insert(tune.name);
        tune.names.append({tune.name, group.named.value(tune.name), QStringLiteral("本名")});
        std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
            return std::pair(-group.named.value(a), a) < std::pair(-group.named.value(b), b);
        });
        for (const QString &name : names)
            if (name != tune.name)
                tune.names.append({name, group.named.value(name), QStringLiteral("集中写法")});
        const QList<const Poem *> &members = group.members;

        // Structures by use, the earliest first on a tie.
        QHash<QString, QList<const Poem *>> byStructure;
        QStringList order;
        for (const Poem *poem : members) {
            if (!byStructure.contains(poem->structure))
                order << poem->structure;
            byStructure[poem->structure].append(poem);
        }
        std::stable_sort(order.begin(), order.end(), [&](const QString &a, const QString &b) {
            return byStructure.value(a).size() > byStructure.value(b).size();
        });
        if (byStructure.value(order.first()).size() < kMinMainPoems) {
            ++counts.tunesWithoutForm;
            counts.noForm += tune.poems;
            continue;
        }
        const QList<int> main = lengthsOf(order.first());
        const int mainChars = std::accumulate(main.begin(), main.end(), 0);
        for (const QString &structure : order) {
            const QList<const Poem *> &those = byStructure.value(structure);
            const QList<int> lengths = lengthsOf(structure);
            // A variant is a whole poem: not a fragment (fewer than three lines or half the characters).
            if (!tune.forms.isEmpty() && (those.size() < kMinVariantPoems || lengths.size() < 3 ||
                                          2 * std::accumulate(lengths.begin(), lengths.end(), 0) < mainChars))
                continue;
            DerivedForm form = deriveForm(those, lookup);
            form.number = int(tune.forms.size()) + 1;
            tune.inForms += form.poems;
            tune.forms.append(form);
        }
        counts.inForms += tune.inForms;
        counts.noForm += tune.poems - tune.inForms;
        out.tunes.append(tune);
    }
    std::sort(out.tunes.begin(), out.tunes.end(), [](const DerivedTune &a, const DerivedTune &b) {
        return std::pair(-a.poems, a.name) < std::pair(-b.poems, b.name);
    });

    // Our aliases lead to their 词牌 even where the corpus never writes them.
    for (DerivedTune &tune : out.tunes) {
        for (const auto &[usual, others] : aliasList()) {
            if (!std::any_of(tune.names.begin(), tune.names.end(),
                             [&](const DerivedName &n) { return n.name == usual; }))
                continue;
            for (const QString &alias : others)
                if (std::none_of(tune.names.begin(), tune.names.end(),
                                 [&](const DerivedName &n) { return n.name == alias; }))
                    tune.names.append({alias, 0, QStringLiteral("别名表")});
        }
    }
    return out;
}

} // namespace builddb

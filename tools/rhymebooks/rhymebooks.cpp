#include "tools/rhymebooks/rhymebooks.h"

#include <QMap>
#include <QSet>

#include <algorithm>

namespace builddb {

namespace {

QString text(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

// Standard characters that stand in the 廣韻 under a form no variant table links to them.
constexpr struct {
    char32_t hanzi;
    char32_t form;
} kOurLinks[] = {
    {U'魂', U'䰟'}, {U'韩', U'𩏑'}, {U'享', U'亯'}, {U'鸵', U'駞'}, {U'联', U'聮'},
};

// Common characters the 廣韻 lacks in every form, with their readings in the later rhyme books
// (集韻 and the 平水 tradition): tone, rhyme family by its 平聲 base name, 開合.
constexpr struct {
    char32_t hanzi;
    char16_t tone;
    char16_t rhyme;
    char16_t hu;
} kOurReadings[] = {
    {U'撒', u'入', u'寒', u'開'}, {U'榕', u'平', u'鍾', 0},     {U'烹', u'平', u'庚', u'開'},
    {U'砍', u'上', u'覃', 0},     {U'舔', u'上', u'添', 0},     {U'葡', u'平', u'模', 0},
    {U'蝴', u'平', u'模', 0},     {U'票', u'平', u'宵', 0},     {U'票', u'去', u'宵', 0},
    {U'罕', u'上', u'寒', u'開'}, {U'潇', u'平', u'蕭', 0},     {U'摹', u'平', u'模', 0},
    {U'淘', u'平', u'豪', 0},     {U'擂', u'平', u'灰', 0},     {U'擂', u'去', u'灰', 0},
    {U'礁', u'平', u'宵', 0},     {U'瞧', u'平', u'宵', 0},     {U'狠', u'上', u'痕', 0},
    {U'戳', u'入', u'江', 0},     {U'蒂', u'去', u'齊', 0},     {U'柿', u'上', u'之', 0},
    {U'袱', u'入', u'東', 0},     {U'嚷', u'上', u'陽', u'開'}, {U'晰', u'入', u'青', 0},
    {U'晌', u'上', u'陽', u'開'}, {U'媳', u'入', u'蒸', u'開'}, {U'垄', u'上', u'鍾', 0},
    {U'埠', u'去', u'模', 0},     {U'嗓', u'上', u'唐', u'開'}, {U'汽', u'去', u'微', 0},
    {U'汽', u'入', u'殷', 0},     {U'橱', u'平', u'虞', 0},     {U'窝', u'平', u'歌', u'合'},
    {U'瘟', u'平', u'魂', 0},     {U'膛', u'平', u'唐', u'開'}, {U'菠', u'平', u'歌', u'合'},
    {U'泼', u'入', u'寒', u'合'}, {U'滤', u'去', u'魚', 0},     {U'烫', u'去', u'唐', u'開'},
    {U'疯', u'平', u'東', 0},     {U'躲', u'上', u'歌', u'合'}, {U'摔', u'入', u'真', u'合'},
    {U'擦', u'入', u'寒', u'開'}, {U'挖', u'入', u'山', u'合'}, {U'挣', u'平', u'耕', u'開'},
    {U'挣', u'去', u'耕', u'開'}, {U'捆', u'上', u'魂', 0},     {U'拷', u'上', u'豪', 0},
    {U'搁', u'入', u'唐', u'開'}, {U'撑', u'平', u'庚', u'開'}, {U'撵', u'上', u'仙', u'開'},
    {U'勾', u'平', u'侯', 0},     {U'吩', u'平', u'文', 0},     {U'咐', u'去', u'虞', 0},
    {U'呛', u'去', u'陽', u'開'}, {U'喇', u'入', u'寒', u'開'}, {U'塌', u'入', u'談', 0},
    {U'岔', u'去', u'麻', u'開'}, {U'歪', u'平', u'佳', u'合'}, {U'疤', u'平', u'麻', u'開'},
    {U'瘫', u'平', u'寒', u'開'}, {U'碟', u'入', u'添', 0},     {U'赔', u'平', u'灰', 0},
    {U'辆', u'去', u'陽', u'開'}, {U'锈', u'去', u'尤', 0},     {U'馅', u'去', u'咸', 0},
    {U'馍', u'平', u'模', 0},     {U'蘑', u'平', u'歌', u'合'}, {U'茉', u'入', u'寒', u'合'},
    {U'籽', u'上', u'之', 0},     {U'褂', u'去', u'佳', u'合'}, {U'褪', u'去', u'魂', 0},
    {U'谎', u'上', u'唐', u'合'}, {U'舱', u'平', u'唐', u'開'}, {U'做', u'去', u'歌', u'開'},
    {U'另', u'去', u'青', u'開'}, {U'嘀', u'入', u'青', 0},     {U'懂', u'上', u'東', 0},
    {U'俩', u'上', u'陽', u'開'}, {U'叁', u'平', u'談', 0},     {U'婶', u'上', u'侵', 0},
    {U'丢', u'平', u'尤', 0},
};

// Readings poets use that the 廣韻 lacks for a character it has (from the 集韻 and the 平水
// tradition): 漫漫 平, 探 去, 天涯 rhyming with 麻, 娉婷 平, 圈 a ring 平 (绣圈). Added after the filter,
// which they bypass.
constexpr struct {
    char32_t hanzi;
    char16_t tone;
    char16_t rhyme;
    char16_t hu;
} kOurAdditions[] = {
    {U'漫', u'平', u'寒', u'合'}, {U'探', u'去', u'覃', 0},     {U'涯', u'平', u'麻', u'開'},
    {U'娉', u'平', u'清', 0},     {U'圈', u'平', u'仙', u'合'},
};

// Classical readings the reflex filter would drop but that poets use: the old 两读 that the
// modern standard has lost (思 as a noun is 去, 望 and 忘 are often 平, 一骑 is 去), 沈 written
// for 沉 (平), 花钿 (平) and 污 as a verb (去).
constexpr struct {
    char32_t hanzi;
    char16_t tone;
} kOurKeeps[] = {
    {U'思', u'去'}, {U'望', u'平'}, {U'忘', u'平'}, {U'听', u'去'}, {U'醒', u'平'}, {U'叹', u'平'},
    {U'过', u'平'}, {U'骑', u'去'}, {U'漫', u'平'}, {U'吹', u'去'}, {U'探', u'平'}, {U'凭', u'去'},
    {U'衣', u'去'}, {U'乘', u'去'}, {U'从', u'去'}, {U'操', u'去'}, {U'治', u'平'}, {U'烧', u'去'},
    {U'纵', u'平'}, {U'胜', u'平'}, {U'王', u'去'}, {U'遗', u'去'}, {U'傍', u'平'}, {U'障', u'平'},
    {U'施', u'去'}, {U'暝', u'去'}, {U'劳', u'去'}, {U'沈', u'平'}, {U'钿', u'平'}, {U'污', u'去'},
};

std::optional<Tone> toneOf(char16_t c)
{
    for (Tone tone : {Tone::Ping, Tone::Shang, Tone::Qu, Tone::Ru})
        if (toneChar(tone) == QChar(c))
            return tone;
    return std::nullopt;
}

// Whether a modern tone (1 to 4) descends regularly from an old one: 平 became 阴平 and 阳平,
// 上 and 去 became 上声 and 去声 (the voiced 上 moved to 去); 入 spread over all four.
bool isReflex(Tone old, int modern)
{
    switch (old) {
    case Tone::Ping:
        return modern == 1 || modern == 2;
    case Tone::Shang:
    case Tone::Qu:
        return modern == 3 || modern == 4;
    case Tone::Ru:
        break;
    }
    return true;
}

QChar modernToneChar(int tone)
{
    return tone <= 2 ? u'平' : tone == 3 ? u'上' : u'去';
}

int levelOf(int rank)
{
    if (rank <= 0)
        return 0;
    return rank <= 3500 ? 1 : rank <= 6500 ? 2 : 3;
}

// A Cantonese reading ending in p, t or k before its tone number keeps the old entering tone.
bool isCantoneseEntering(const QString &jyutping)
{
    const qsizetype digits = jyutping.size() - 1;
    if (digits < 1 || !jyutping.back().isDigit())
        return false;
    const QChar last = jyutping.at(digits - 1);
    return last == u'p' || last == u't' || last == u'k';
}

class Assembler {
public:
    explicit Assembler(const RhymeBookInputs &in)
        : m_in(in)
    {
    }

    RhymeBooks run()
    {
        gatherOwnForms();
        gatherVariants();
        addOurReadings();
        giveTraditionalForms();
        filter();
        addOurAdditions();
        RhymeBooks out;
        out.books = {pingshui(neighbours()), cilin(), modern(books::xinyun, xinyunGroups(), xinyunGroupOf),
                     modern(books::tongyun, tongyunGroups(), tongyunGroupOf)};
        for (auto it = m_in.standard.constBegin(); it != m_in.standard.constEnd(); ++it)
            for (const Reading &r : it->readings)
                out.readings[it.key()].append(r.marked());
        out.filter = m_report;
        return out;
    }

private:
    using Readings = QList<ClassicalReading>;

    static void addAll(Readings &to, const Readings &from)
    {
        for (const ClassicalReading &r : from)
            if (!to.contains(r))
                to.append(r);
    }

    QList<char32_t> simplifiedForms(char32_t c) const
    {
        QList<char32_t> forms;
        const QString own = text(c);
        for (const auto &simplify : m_in.simplifiers) {
            const QList<uint> s = simplify(own).toUcs4();
            if (s.size() == 1 && s.front() != c && !forms.contains(s.front()))
                forms.append(s.front());
        }
        for (char32_t s : m_in.unihan.simplified.values(c))
            if (!forms.contains(s))
                forms.append(s);
        return forms;
    }

    // Every entry under its own form, and under its simplified forms: a simplified character takes
    // the readings of all the characters it stands for (后 for 后 and 後), the filter then sorts them.
    void gatherOwnForms()
    {
        for (const GuangyunEntry &e : m_in.guangyun) {
            Readings &own = m_own[e.hanzi];
            if (!own.contains(e.reading))
                own.append(e.reading);
        }
        for (auto it = m_own.constBegin(); it != m_own.constEnd(); ++it) {
            addAll(m_readings[it.key()], *it);
            for (char32_t s : simplifiedForms(it.key()))
                addAll(m_readings[s], *it);
        }
    }

    QSet<char32_t> variantsOf(char32_t c) const
    {
        QSet<char32_t> out;
        const auto add = [&](char32_t from) {
            for (char32_t v : m_in.unihan.variants.values(from))
                out.insert(v);
            for (char32_t v : m_in.unihan.traditional.values(from))
                out.insert(v);
        };
        add(c);
        for (char32_t v : QSet<char32_t>(out))
            add(v);
        for (const auto &link : kOurLinks)
            if (link.hanzi == c)
                out.insert(link.form);
        out.remove(c);
        return out;
    }

    // Standard characters still without a reading look under their variant forms (峰 as 峯).
    void gatherVariants()
    {
        for (auto it = m_in.standard.constBegin(); it != m_in.standard.constEnd(); ++it) {
            if (!m_readings.value(it.key()).isEmpty())
                continue;
            Readings found;
            for (char32_t v : variantsOf(it.key()))
                addAll(found, m_own.value(v));
            if (!found.isEmpty()) {
                m_readings.insert(it.key(), found);
                m_fromVariants.insert(it.key());
            }
        }
    }

    void addOurReadings()
    {
        for (const auto &o : kOurReadings) {
            Readings &r = m_readings[o.hanzi];
            if (!r.isEmpty() && !m_ours.contains(o.hanzi))
                continue; // the data has it after all
            m_ours.insert(o.hanzi);
            r.append({*toneOf(o.tone), QString(QChar(o.rhyme)), o.hu ? QChar(o.hu) : QChar(), 0});
        }
    }

    void addOurAdditions()
    {
        for (const auto &o : kOurAdditions) {
            const ClassicalReading r{*toneOf(o.tone), QString(QChar(o.rhyme)), o.hu ? QChar(o.hu) : QChar(),
                                     0};
            QList<char32_t> forms = {o.hanzi};
            forms += m_in.unihan.traditional.values(o.hanzi);
            for (char32_t c : forms)
                if (m_readings.contains(c) && !m_readings[c].contains(r))
                    m_readings[c].append(r);
        }
    }

    // A traditional form missing from the data takes its simplified character's readings, so that
    // 聯 typed in a draft is found as 联 is.
    void giveTraditionalForms()
    {
        for (auto it = m_in.standard.constBegin(); it != m_in.standard.constEnd(); ++it) {
            const Readings r = m_readings.value(it.key());
            if (r.isEmpty())
                continue;
            for (char32_t t : m_in.unihan.traditional.values(it.key()))
                if (!m_in.standard.contains(t) && m_readings.value(t).isEmpty())
                    m_readings.insert(t, r);
        }
    }

    // The modern tones of a character: its standard readings, else those of the standard
    // characters it simplifies to, else its main reading.
    QList<int> modernTones(char32_t c) const
    {
        QList<int> tones;
        const auto add = [&](char32_t from) {
            for (const Reading &r : m_in.standard.value(from).readings)
                if (!tones.contains(r.tone))
                    tones.append(r.tone);
        };
        if (m_in.standard.contains(c)) {
            add(c);
            return tones;
        }
        for (char32_t s : simplifiedForms(c))
            add(s);
        if (tones.isEmpty() && m_in.unihan.mandarin.contains(c) && m_in.unihan.mandarin.value(c).tone != 0)
            tones.append(m_in.unihan.mandarin.value(c).tone);
        return tones;
    }

    bool keptByList(char32_t c, Tone tone) const
    {
        QList<char32_t> forms = simplifiedForms(c);
        forms.prepend(c);
        for (const auto &k : kOurKeeps)
            if (forms.contains(k.hanzi) && toneOf(k.tone) == tone)
                return true;
        return false;
    }

    static QChar classOf(const Readings &readings)
    {
        QList<QChar> tones;
        for (const ClassicalReading &r : readings)
            tones.append(toneChar(r.tone));
        return toneClass(tones);
    }

    // Keeps a classical reading only where a modern standard reading descends from it, or our list
    // keeps it. A character none of whose readings is supported keeps them all.
    void filter()
    {
        for (auto it = m_readings.begin(); it != m_readings.end(); ++it) {
            m_report.readingsBefore += it->size();
            const QList<int> modern = modernTones(it.key());
            if (modern.isEmpty())
                continue;
            Readings kept;
            bool byList = false;
            for (const ClassicalReading &r : *it) {
                const bool supported =
                    std::any_of(modern.begin(), modern.end(), [&](int m) { return isReflex(r.tone, m); });
                if (supported)
                    kept.append(r);
                else if (keptByList(it.key(), r.tone))
                    kept.append(r), byList = true;
            }
            if (kept.isEmpty()) {
                ++m_report.keptForNoSupport;
                continue;
            }
            m_report.keptByList += byList;
            m_report.readingsRemoved += it->size() - kept.size();
            const int level = levelOf(m_in.standard.value(it.key()).rank);
            if (level == 1 && classOf(kept) != classOf(*it))
                m_report.changedLevelOne
                    << QStringLiteral("%1 %2→%3").arg(text(it.key()), classOf(*it), classOf(kept));
            *it = kept;
        }
        for (auto it = m_in.standard.constBegin(); it != m_in.standard.constEnd(); ++it) {
            if (!it->isLevelOne())
                continue;
            if (m_readings.value(it.key()).isEmpty())
                ++m_report.levelOneWithout;
            else if (m_ours.contains(it.key()))
                ++m_report.levelOneFromOurList;
            else if (m_fromVariants.contains(it.key()))
                ++m_report.levelOneFromVariants;
            else
                ++m_report.levelOneWithReading;
        }
        m_report.changedLevelOne.sort();
    }

    int levelOfChar(char32_t c) const { return levelOf(m_in.standard.value(c).rank); }

    double weightOf(char32_t c) const
    {
        if (!m_in.weights)
            return 0;
        double sum = 0;
        for (const Reading &r : m_in.standard.value(c).readings)
            sum += m_in.weights->weight(c, r);
        return sum;
    }

    // Common characters first, then the frequent ones, then by code point; numbered per group.
    void orderChars(QList<BookChar> &chars) const
    {
        QHash<char32_t, double> weight;
        for (const BookChar &c : chars)
            if (!weight.contains(c.hanzi))
                weight.insert(c.hanzi, weightOf(c.hanzi));
        std::sort(chars.begin(), chars.end(), [&](const BookChar &a, const BookChar &b) {
            if (a.group != b.group)
                return a.group < b.group;
            const int la = a.level == 0 ? 4 : a.level, lb = b.level == 0 ? 4 : b.level;
            if (la != lb)
                return la < lb;
            if (weight[a.hanzi] != weight[b.hanzi])
                return weight[a.hanzi] > weight[b.hanzi];
            return a.hanzi != b.hanzi ? a.hanzi < b.hanzi : a.tone < b.tone;
        });
        QString group;
        int order = 0;
        for (BookChar &c : chars) {
            if (c.group != group)
                group = c.group, order = 0;
            c.order = ++order;
        }
    }

    // Standard characters with no classical reading: an entering tone kept in Cantonese, else
    // the modern reading.
    QList<UngroupedChar> ungroupedClassical() const
    {
        QList<UngroupedChar> out;
        for (auto it = m_in.standard.constBegin(); it != m_in.standard.constEnd(); ++it) {
            if (!m_readings.value(it.key()).isEmpty())
                continue;
            const int level = levelOf(it->rank);
            const QStringList cantonese = m_in.unihan.cantonese.value(it.key());
            if (std::any_of(cantonese.begin(), cantonese.end(), isCantoneseEntering)) {
                out.append({it.key(), u'入', level, QStringLiteral("粤音入声")});
                continue;
            }
            QList<QChar> tones;
            for (const Reading &r : it->readings)
                if (!tones.contains(modernToneChar(r.tone)))
                    tones.append(modernToneChar(r.tone));
            for (QChar t : tones)
                out.append({it.key(), t, level, QStringLiteral("今读")});
        }
        return out;
    }

    template <typename GroupOf>
    Book classical(const QString &name, QList<BookGroup> groups, GroupOf groupOf) const
    {
        Book book{name, std::move(groups), {}, ungroupedClassical(), {}};
        QSet<QString> seen;
        for (auto it = m_readings.constBegin(); it != m_readings.constEnd(); ++it) {
            for (const ClassicalReading &r : *it) {
                const QString group = groupOf(it.key(), r);
                const QString key = text(it.key()) + group + toneChar(r.tone);
                if (group.isEmpty() || seen.contains(key))
                    continue;
                seen.insert(key);
                book.chars.append({group, it.key(), toneChar(r.tone), levelOfChar(it.key()), 0});
            }
        }
        orderChars(book.chars);
        return book;
    }

    Book pingshui(QList<std::pair<QString, QString>> neighbours) const
    {
        QList<BookGroup> groups;
        for (const PingshuiGroup &g : pingshuiGroups())
            groups.append({int(groups.size()) + 1, g.name, toneChar(g.tone)});
        Book book = classical(books::pingshui, groups, [](char32_t, const ClassicalReading &r) {
            const int g = pingshuiGroupOf(r.tone, r.rhyme);
            return g < 0 ? QString() : pingshuiGroups().at(g).name;
        });
        book.neighbours = std::move(neighbours);
        return book;
    }

    // 平水韵 groups whose readings fall into a common 部 of the 词林正韵 (十灰 with 四支 and 九佳).
    QList<std::pair<QString, QString>> neighbours() const
    {
        QMap<int, QSet<int>> groupsOfSection; // 部 × tone → 平水韵 groups
        for (auto it = m_readings.constBegin(); it != m_readings.constEnd(); ++it) {
            for (const ClassicalReading &r : *it) {
                const int g = pingshuiGroupOf(r.tone, r.rhyme);
                if (g >= 0)
                    groupsOfSection[cilinSectionOf(g, r.rhyme, r.hu, it.key()) * 4 + int(r.tone)].insert(g);
            }
        }
        QSet<std::pair<int, int>> pairs;
        for (const QSet<int> &groups : groupsOfSection)
            for (int a : groups)
                for (int b : groups)
                    if (a != b)
                        pairs.insert({a, b});
        QList<std::pair<int, int>> sorted(pairs.begin(), pairs.end());
        std::sort(sorted.begin(), sorted.end());
        QList<std::pair<QString, QString>> out;
        for (const auto &[a, b] : sorted)
            out.append({pingshuiGroups().at(a).name, pingshuiGroups().at(b).name});
        return out;
    }

    Book cilin() const
    {
        QList<BookGroup> groups;
        for (int section = 1; section <= 19; ++section) {
            const QString name = cilinSectionName(section);
            if (section <= 14) {
                for (Tone t : {Tone::Ping, Tone::Shang, Tone::Qu})
                    groups.append({section, name, toneChar(t)});
            } else {
                groups.append({section, name, toneChar(Tone::Ru)});
            }
        }
        return classical(books::cilin, groups, [](char32_t hanzi, const ClassicalReading &r) {
            const int g = pingshuiGroupOf(r.tone, r.rhyme);
            return g < 0 ? QString() : cilinSectionName(cilinSectionOf(g, r.rhyme, r.hu, hanzi));
        });
    }

    Book modern(const QString &name, const QStringList &names, int (*groupOf)(const QString &)) const
    {
        Book book{name, {}, {}, {}, {}};
        for (qsizetype i = 0; i < names.size(); ++i)
            for (QChar t : {QChar(u'平'), QChar(u'上'), QChar(u'去')})
                book.groups.append({int(i) + 1, names.at(i), t});
        QSet<QString> seen;
        for (auto it = m_in.standard.constBegin(); it != m_in.standard.constEnd(); ++it) {
            QList<char32_t> forms = {it.key()};
            for (char32_t t : m_in.unihan.traditional.values(it.key()))
                if (!m_in.standard.contains(t))
                    forms.append(t);
            for (const Reading &r : it->readings) {
                const int g = groupOf(r.syllable);
                if (g < 0)
                    continue;
                for (char32_t c : forms) {
                    const QString key = text(c) + names.at(g) + modernToneChar(r.tone);
                    if (seen.contains(key))
                        continue;
                    seen.insert(key);
                    book.chars.append(
                        {names.at(g), c, modernToneChar(r.tone), c == it.key() ? levelOf(it->rank) : 0, 0});
                }
            }
        }
        orderChars(book.chars);
        return book;
    }

    const RhymeBookInputs &m_in;
    QHash<char32_t, Readings> m_own;      // the data's entries under their own form
    QHash<char32_t, Readings> m_readings; // every form that has readings
    QSet<char32_t> m_fromVariants;
    QSet<char32_t> m_ours;
    FilterReport m_report;
};

} // namespace

QChar toneClass(const QList<QChar> &tones)
{
    bool level = false, oblique = false;
    for (QChar t : tones)
        (t == u'平' ? level : oblique) = true;
    return level && oblique ? u'中' : level ? u'平' : u'仄';
}

RhymeBooks buildRhymeBooks(const RhymeBookInputs &inputs)
{
    return Assembler(inputs).run();
}

} // namespace builddb

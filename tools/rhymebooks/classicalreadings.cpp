// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/classicalreadings.h"

#include "tools/rhymebooks/ourlists.h"

#include <QMap>
#include <QSet>

#include <algorithm>

namespace builddb {

namespace {

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

// Gathers the readings, then filters them.
class Gatherer {
public:
    explicit Gatherer(const RhymeBookInputs &in)
        : m_in(in)
    {
    }

    ClassicalReadings run()
    {
        gatherOwnForms();
        gatherVariants();
        settleWeakForms();
        addClassicsMends();
        addOurReadings();
        filter();
        addOurAdditions();
        return {m_readings, m_report, m_variants};
    }

private:
    static void addAll(Readings &to, const Readings &from)
    {
        for (const ClassicalReading &r : from)
            if (!to.contains(r))
                to.append(r);
    }

    QList<char32_t> simplifiedForms(char32_t c) const
    {
        QList<char32_t> forms;
        const QString own = hanziText(c);
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

    // The standard character a written form stands for in the table of forms; 0 for none.
    char32_t standardOf(char32_t c) const { return m_variants.value(c); }

    // Whether the books read a form as its standard character whatever its own readings: a link of
    // OpenCC, of Unihan's simplified and traditional forms, or ours to the 廣韻's form of a character.
    bool lendsReadings(char32_t form) const
    {
        return m_in.variants && !m_in.variants->weak.contains(form) &&
               !m_in.variants->printForms.contains(form);
    }

    // Every entry under its own form, and under its simplified forms and the standard character the
    // table of forms gives it: a simplified character takes the readings of all the characters it
    // stands for (后 for 后 and 後; 样 for 樣, which the 廣韻 writes 㨾), the filter then sorts them. What
    // the table's links alone add is kept apart, to report what they change.
    void gatherOwnForms()
    {
        for (const GuangyunEntry &e : m_in.guangyun) {
            Readings &own = m_own[e.hanzi];
            if (!own.contains(e.reading))
                own.append(e.reading);
        }
        if (m_in.variants)
            m_variants = m_in.variants->standardOf;
        QList<std::pair<char32_t, char32_t>> tableOnly; // form, standard character
        for (auto it = m_own.constBegin(); it != m_own.constEnd(); ++it) {
            addAll(m_readings[it.key()], *it);
            const QList<char32_t> forms = simplifiedForms(it.key());
            for (char32_t s : forms)
                addAll(m_readings[s], *it);
            if (const char32_t s = standardOf(it.key()); s && !forms.contains(s) && lendsReadings(it.key()))
                tableOnly.append({it.key(), s});
        }
        for (const auto &[form, s] : tableOnly) {
            if (!m_withoutForms.contains(s))
                m_withoutForms.insert(s, m_readings.value(s));
            addAll(m_readings[s], m_own.value(form));
        }
    }

    QSet<char32_t> variantsOf(char32_t c) const
    {
        QSet<char32_t> out;
        const auto add = [&](char32_t from) {
            for (char32_t v : m_in.unihan.variants.values(from))
                out.insert(v);
            for (char32_t v : m_in.unihan.narrower.values(from))
                out.insert(v);
            for (char32_t v : m_in.unihan.traditional.values(from))
                out.insert(v);
        };
        add(c);
        for (char32_t v : QSet<char32_t>(out))
            add(v);
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

    // Whether readings fall in groups of 平水韵 that others have too.
    static bool within(const Readings &readings, const Readings &others)
    {
        return std::all_of(readings.begin(), readings.end(), [&](const ClassicalReading &r) {
            return std::any_of(others.begin(), others.end(), [&](const ClassicalReading &o) {
                return o.tone == r.tone &&
                       pingshuiGroupOf(o.tone, o.rhyme) == pingshuiGroupOf(r.tone, r.rhyme);
            });
        });
    }

    // A form a semantic or Z variant links to a standard character (鴈 → 雁) is read as it when its own
    // readings are among the character's, else it stays in the books as itself (閞 is no 开); the old
    // forms of our list are read as their character all the same. Neither lends its readings.
    void settleWeakForms()
    {
        if (!m_in.variants)
            return;
        for (const char32_t form : m_in.variants->weak) {
            const char32_t s = standardOf(form);
            if (m_own.contains(form) && !within(m_own.value(form), m_readings.value(s))) {
                m_variants.remove(form);
                ++m_report.formsKeptApart;
            }
        }
    }

    void addOurReadings()
    {
        for (const OurReading &o : ourReadings()) {
            Readings &r = m_readings[o.hanzi];
            if (!r.isEmpty() && !m_ours.contains(o.hanzi))
                continue; // the data has it after all
            m_ours.insert(o.hanzi);
            r.append({*toneOf(o.tone), QString(QChar(o.rhyme)), o.hu ? QChar(o.hu) : QChar(), 0});
        }
    }

    static ClassicalReading readingOf(const OurReading &o)
    {
        return {*toneOf(o.tone), QString(QChar(o.rhyme)), o.hu ? QChar(o.hu) : QChar(), 0};
    }

    void addClassicsMends()
    {
        for (const OurReading &o : classicsMends())
            if (Readings &r = m_readings[o.hanzi]; !r.contains(readingOf(o)))
                r.append(readingOf(o));
    }

    void addOurAdditions()
    {
        for (const OurReading &o : ourAdditions()) {
            const ClassicalReading r{*toneOf(o.tone), QString(QChar(o.rhyme)), o.hu ? QChar(o.hu) : QChar(),
                                     0};
            QList<char32_t> forms = {o.hanzi};
            forms += m_in.unihan.traditional.values(o.hanzi);
            for (char32_t c : forms)
                if (m_readings.contains(c) && !m_readings[c].contains(r))
                    m_readings[c].append(r);
        }
    }

    // The modern tones of a character: its standard readings and those of the standard characters it
    // simplifies to, else its main reading.
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
            // A standard character a traditional text writes for another (徵 for 征 in 徵人) is read as
            // either there.
            if (!m_in.simplifiers.isEmpty())
                if (const QList<uint> s = m_in.simplifiers.front()(hanziText(c)).toUcs4(); s.size() == 1)
                    if (s.front() != c && m_in.standard.contains(s.front()))
                        add(s.front());
            return tones;
        }
        for (char32_t s : simplifiedForms(c))
            add(s);
        if (tones.isEmpty() && m_in.unihan.mandarin.contains(c) && m_in.unihan.mandarin.value(c).tone != 0)
            tones.append(m_in.unihan.mandarin.value(c).tone);
        return tones;
    }

    bool keptByList(char32_t c, const ClassicalReading &reading) const
    {
        const Tone tone = reading.tone;
        QList<char32_t> forms = simplifiedForms(c);
        forms.prepend(c);
        for (const OurKeep &k : ourKeeps())
            if (forms.contains(k.hanzi) && toneOf(k.tone) == tone)
                return true;
        for (const OurReading &m : classicsMends())
            if (m.hanzi == c && readingOf(m) == reading)
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

    struct Filtered {
        Readings kept;
        bool byList = false;      // our list kept one
        bool unsupported = false; // no modern reading supports any: all are kept
    };

    // The readings the filter keeps of a character's: those a modern standard reading descends from,
    // and those our list keeps; all of them when it has no modern reading or supports none.
    Filtered filtered(char32_t c, const Readings &all) const
    {
        Filtered out;
        const QList<int> modern = modernTones(c);
        if (modern.isEmpty())
            return {all, false, false};
        for (const ClassicalReading &r : all) {
            if (std::any_of(modern.begin(), modern.end(), [&](int m) { return isReflex(r.tone, m); }))
                out.kept.append(r);
            else if (keptByList(c, r))
                out.kept.append(r), out.byList = true;
        }
        if (out.kept.isEmpty())
            out = {all, false, true};
        return out;
    }

    // Keeps a classical reading only where a modern standard reading descends from it, or our list
    // keeps it. A character none of whose readings is supported keeps them all.
    void filter()
    {
        for (auto it = m_readings.begin(); it != m_readings.end(); ++it) {
            m_report.readingsBefore += it->size();
            const Filtered f = filtered(it.key(), *it);
            m_report.keptForNoSupport += f.unsupported;
            m_report.keptByList += f.byList;
            m_report.readingsRemoved += it->size() - f.kept.size();
            const int level = standardLevel(m_in.standard.value(it.key()).rank);
            if (level == 1 && classOf(f.kept) != classOf(*it))
                m_report.changedLevelOne
                    << QStringLiteral("%1 %2→%3").arg(hanziText(it.key()), classOf(*it), classOf(f.kept));
            *it = f.kept;
        }
        reportForms();
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

    static QString groupsOf(const Readings &readings)
    {
        QStringList names;
        for (const ClassicalReading &r : readings)
            if (const int g = pingshuiGroupOf(r.tone, r.rhyme);
                g >= 0 && !names.contains(pingshuiGroups().at(g).name))
                names << pingshuiGroups().at(g).name;
        return names.isEmpty() ? QStringLiteral("无") : names.join(u'、');
    }

    // Standard characters whose 平水韵 groups the forms they stand for changed (样 下平七阳→去声二十三漾):
    // their readings filtered with and without what the table of forms alone brought.
    void reportForms()
    {
        for (auto it = m_withoutForms.constBegin(); it != m_withoutForms.constEnd(); ++it) {
            if (!m_in.standard.contains(it.key()))
                continue;
            if (it->isEmpty()) {
                m_fromVariants.insert(it.key()); // found only under its forms: coverage, not a change
                continue;
            }
            const QString before = groupsOf(filtered(it.key(), *it).kept),
                          after = groupsOf(m_readings.value(it.key()));
            if (before != after)
                m_report.changedByForms << QStringLiteral("%1 %2→%3").arg(hanziText(it.key()), before, after);
        }
        m_report.changedByForms.sort();
    }

    const RhymeBookInputs &m_in;
    QHash<char32_t, Readings> m_own;      // the data's entries under their own form
    QHash<char32_t, Readings> m_readings; // every form that has readings
    QSet<char32_t> m_fromVariants;
    QMap<char32_t, char32_t> m_variants;      // the table of forms, less the forms kept apart
    QHash<char32_t, Readings> m_withoutForms; // standard characters' readings before the table's links
    QSet<char32_t> m_ours;
    FilterReport m_report;
};

} // namespace

QString hanziText(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

int standardLevel(int rank)
{
    if (rank <= 0)
        return 0;
    return rank <= 3500 ? 1 : rank <= 6500 ? 2 : 3;
}

QChar toneClass(const QList<QChar> &tones)
{
    bool level = false, oblique = false;
    for (QChar t : tones)
        (t == u'平' ? level : oblique) = true;
    return level && oblique ? u'中' : level ? u'平' : u'仄';
}

ClassicalReadings gatherReadings(const RhymeBookInputs &inputs)
{
    return Gatherer(inputs).run();
}

} // namespace builddb

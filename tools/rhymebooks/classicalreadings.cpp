#include "tools/rhymebooks/classicalreadings.h"

#include "tools/rhymebooks/ourlists.h"

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
        addOurReadings();
        giveTraditionalForms();
        filter();
        addOurAdditions();
        return {m_readings, m_report};
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
        for (const OurLink &link : ourLinks())
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
        for (const OurReading &o : ourReadings()) {
            Readings &r = m_readings[o.hanzi];
            if (!r.isEmpty() && !m_ours.contains(o.hanzi))
                continue; // the data has it after all
            m_ours.insert(o.hanzi);
            r.append({*toneOf(o.tone), QString(QChar(o.rhyme)), o.hu ? QChar(o.hu) : QChar(), 0});
        }
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
        for (const OurKeep &k : ourKeeps())
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
            const int level = standardLevel(m_in.standard.value(it.key()).rank);
            if (level == 1 && classOf(kept) != classOf(*it))
                m_report.changedLevelOne
                    << QStringLiteral("%1 %2→%3").arg(hanziText(it.key()), classOf(*it), classOf(kept));
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

    const RhymeBookInputs &m_in;
    QHash<char32_t, Readings> m_own;      // the data's entries under their own form
    QHash<char32_t, Readings> m_readings; // every form that has readings
    QSet<char32_t> m_fromVariants;
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

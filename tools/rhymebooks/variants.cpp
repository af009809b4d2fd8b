// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/variants.h"

namespace builddb {

namespace {

struct OurForm {
    char32_t form;
    char32_t standard;
};

// Old forms of the Qing prints, and a few more the classics rhyme on, that no source links to the
// character they stand for, checked against their use in the classics (玊食, 玊樹; 秪應, 秪恐; 纒綿;
// 柳毶毶, 荼䕷, 鼃蟇, 金飚, 花塼): read as that character in verse, whatever the 廣韻 says of the glyph
// itself (玊 is also a rare word sù). 朩 is 木 as a print writes it.
constexpr OurForm kPrintForms[] = {
    {U'朩', U'木'}, {U'鳯', U'凤'}, {U'㸃', U'点'}, {U'埀', U'垂'}, {U'逺', U'远'}, {U'玊', U'玉'},
    {U'纒', U'缠'}, {U'睂', U'眉'}, {U'嬾', U'懒'}, {U'珮', U'佩'}, {U'秪', U'只'}, {U'敧', U'欹'},
    {U'毶', U'毵'}, {U'葅', U'菹'}, {U'蟇', U'蟆'}, {U'䕷', U'蘼'}, {U'飚', U'飙'}, {U'塼', U'砖'},
};

// The forms under which the 廣韻 holds a few standard characters that no source links to them
// (式㨾: 㨾 is 樣, 样).
constexpr OurForm kGuangyunForms[] = {
    {U'㨾', U'样'}, {U'䰟', U'魂'}, {U'𩏑', U'韩'}, {U'亯', U'享'}, {U'駞', U'驼'}, {U'聮', U'联'},
};

const QString kWeak = QStringLiteral("Unihan 异体");
const QString kPrint = QStringLiteral("ours, Qing prints");

class Resolver {
public:
    explicit Resolver(const VariantSources &s)
        : m_s(s)
    {
        for (auto it = s.unihan.traditional.constBegin(); it != s.unihan.traditional.constEnd(); ++it)
            m_simplifiedOf.insert(it.value(), it.key());
    }

    bool isStandard(char32_t c) const { return m_s.standard.contains(c); }

    // The standard character of a form and the kind of link that reached it; 0 for none.
    std::pair<char32_t, QString> resolve(char32_t c) const
    {
        for (const OurForm &o : kPrintForms)
            if (o.form == c)
                return {o.standard, kPrint};
        for (const OurForm &o : kGuangyunForms)
            if (o.form == c)
                return {o.standard, QStringLiteral("ours, 廣韻")};
        if (const auto found = direct(c); found.first)
            return found;
        // A form's variants; then the simplified form of its own traditional form (𬮤 → 閤 → 合);
        // then its variants of a narrower sense.
        for (const QMultiHash<char32_t, char32_t> *links :
             {&m_s.unihan.variants, &m_s.unihan.traditional, &m_s.unihan.narrower}) {
            QList<char32_t> found;
            for (const char32_t v : links->values(c))
                found.append(isStandard(v) ? v : direct(v).first);
            if (const char32_t s = commonest(found))
                return {s, kWeak};
        }
        return {0, QString()};
    }

    // The other standard character OpenCC's first conversion makes of a standard one (徵 → 征); 0 for
    // none.
    char32_t simplifiedOfStandard(char32_t c) const
    {
        if (m_s.opencc.isEmpty())
            return 0;
        const char32_t s = m_s.opencc.first().value(c);
        return s && s != c && isStandard(s) ? s : 0;
    }
    // Every character a source links to another.
    QSet<char32_t> forms() const
    {
        QSet<char32_t> out;
        for (const CharacterConversion &conversion : m_s.opencc)
            for (auto it = conversion.constBegin(); it != conversion.constEnd(); ++it)
                out.insert(it.key());
        for (const QMultiHash<char32_t, char32_t> *links :
             {&m_s.unihan.simplified, &m_s.unihan.variants, &m_s.unihan.narrower, &m_simplifiedOf})
            for (auto it = links->constBegin(); it != links->constEnd(); ++it)
                out.insert(it.key());
        for (const OurForm &o : kPrintForms)
            out.insert(o.form);
        for (const OurForm &o : kGuangyunForms)
            out.insert(o.form);
        return out;
    }

private:
    // OpenCC's conversions, then Unihan's simplified forms and the characters whose traditional form it is.
    std::pair<char32_t, QString> direct(char32_t c) const
    {
        for (const CharacterConversion &conversion : m_s.opencc)
            if (const char32_t s = conversion.value(c); isStandard(s))
                return {s, QStringLiteral("OpenCC")};
        QList<char32_t> found = m_s.unihan.simplified.values(c);
        found += m_simplifiedOf.values(c);
        if (const char32_t s = commonest(found))
            return {s, QStringLiteral("Unihan 简繁")};
        return {0, QString()};
    }

    char32_t commonest(const QList<char32_t> &candidates) const
    {
        char32_t best = 0;
        for (const char32_t c : candidates)
            if (c && isStandard(c) && (!best || m_s.standard.value(c).rank < m_s.standard.value(best).rank))
                best = c;
        return best;
    }

    const VariantSources &m_s;
    QMultiHash<char32_t, char32_t> m_simplifiedOf; // kTraditionalVariant read backwards
};

} // namespace

VariantTable buildVariantTable(const VariantSources &sources)
{
    const Resolver resolver(sources);
    VariantTable table;
    for (const char32_t form : resolver.forms()) {
        if (resolver.isStandard(form)) {
            if (const char32_t other = resolver.simplifiedOfStandard(form))
                table.alsoFor.insert(form, other);
            continue;
        }
        const auto [standard, source] = resolver.resolve(form);
        if (!standard || standard == form)
            continue;
        table.standardOf.insert(form, standard);
        if (source == kWeak)
            table.weak.insert(form);
        else if (source == kPrint)
            table.printForms.insert(form);
        ++table.bySource[source];
    }
    return table;
}

} // namespace builddb

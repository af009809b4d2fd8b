// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/origin.h"

#include "tools/rhymebooks/cipubook/variants.h"

namespace cipubook {

namespace {

bool endsName(TextView rest)
{
    if (rest.empty() || rest[0] == kBlank)
        return true;
    for (const TextView word : {U"又名", U"一名", U"亦名", U"名", U"按", U"此調", U"此詞", U"見", U"因",
                                U"者", U"又", U"或", U"其", U"也", U"蓋", U"葢", U"俱", U"皆", U"即"})
        if (startsWith(rest, word))
            return true;
    return false;
}

bool opensProse(char32_t c)
{
    return TextView(U"此也之為曰以其者於所").find(c) != TextView::npos;
}

} // namespace

QStringList originAliases(TextView origin)
{
    QStringList out;
    for (size_t at = origin.find(U'名'); at != TextView::npos; at = origin.find(U'名', at + 1)) {
        // 曲名, 調名, 為名, 取名 …: the word for a tune's name, not one given to it.
        if (at > 0 &&
            TextView(U"曲調為得取以之命其地姓書題人同無有知").find(origin[at - 1]) != TextView::npos)
            continue;
        size_t from = at + 1;
        if (from < origin.size() && (origin[from] == U'曰' || origin[from] == U'為'))
            ++from;
        if (from >= origin.size() || opensProse(origin[from]))
            continue;
        for (size_t k = 2; k <= 5 && from + k <= origin.size(); ++k) {
            const TextView name = origin.substr(from, k);
            if (contains(name, TextView(&kBlank, 1)) || contains(name, U"名"))
                break;
            if (endsName(origin.substr(from + k))) {
                const QString n = toQString(name);
                if (!out.contains(n))
                    out << n;
                break;
            }
        }
    }
    return out;
}

bool originNames(TextView origin, TextView name)
{
    const Text o = folded(origin), n = folded(name);
    for (size_t at = o.find(n); at != Text::npos; at = o.find(n, at + 1))
        if (at > 0 && (o[at - 1] == U'名' || (at > 1 && o[at - 2] == U'名')))
            return true;
    return false;
}

} // namespace cipubook

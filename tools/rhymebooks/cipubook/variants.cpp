// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/variants.h"

#include <QHash>

namespace cipubook {

namespace {

// Variant → the form compared. Pairs met in the book's names and notes.
const QHash<char32_t, char32_t> &foldTable()
{
    static const QHash<char32_t, char32_t> table = [] {
        QHash<char32_t, char32_t> t;
        const std::pair<TextView, char32_t> groups[] = {
            {U"栁桞", U'柳'}, {U"牕窓忩窻", U'窗'}, {U"謡", U'謠'}, {U"揺", U'搖'}, {U"鳯", U'鳳'},
            {U"㴱", U'深'},   {U"朩", U'木'},       {U"髙", U'高'}, {U"夀", U'壽'}, {U"㪚", U'散'},
            {U"玊", U'玉'},   {U"繋", U'繫'},       {U"茘", U'荔'}, {U"鎭", U'鎮'}, {U"遶", U'繞'},
            {U"沖", U'冲'},   {U"游", U'遊'},       {U"翦", U'剪'}, {U"徴", U'徵'}, {U"熈", U'熙'},
            {U"噐", U'器'},   {U"囬囘", U'回'},     {U"鬬", U'鬭'}, {U"觧", U'解'}, {U"么", U'幺'},
            {U"帯", U'帶'},   {U"嵗", U'歲'},       {U"㸃", U'點'}, {U"敎", U'教'}, {U"睂", U'眉'},
            {U"衆", U'眾'},   {U"巻", U'卷'},       {U"闗", U'關'}, {U"臺", U'台'}, {U"叚", U'段'},
            {U"秪祗", U'只'}, {U"徧", U'遍'},       {U"黄", U'黃'}, {U"眞", U'真'}, {U"孃", U'娘'},
            {U"鴈", U'雁'},   {U"䕫", U'夔'},       {U"峯", U'峰'}, {U"踈", U'疎'}, {U"厎", U'底'},
            {U"㡬", U'幾'},   {U"隂", U'陰'},
        };
        for (const auto &[variants, to] : groups)
            for (const char32_t v : variants)
                t.insert(v, to);
        return t;
    }();
    return table;
}

} // namespace

Text folded(TextView name)
{
    Text out(name);
    for (char32_t &c : out)
        c = foldTable().value(c, c);
    return out;
}

bool sameName(TextView a, TextView b)
{
    const Text fa = folded(a), fb = folded(b);
    if (fa == fb)
        return true;
    if (fa.size() != fb.size() || fa.size() < 2)
        return false;
    int differ = 0;
    for (size_t i = 0; i < fa.size(); ++i)
        differ += fa[i] != fb[i];
    return differ == 1;
}

} // namespace cipubook

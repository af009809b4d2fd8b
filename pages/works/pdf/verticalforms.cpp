// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/works/pdf/verticalforms.h"

#include <QHash>
#include <QStringView>

namespace verticalforms {

namespace {

// Pairs of a character and its vertical presentation form (U+FE10–FE19, U+FE30–FE4F).
constexpr char16_t forms[][2] = {
    {u'，', u'︐'}, {u'、', u'︑'}, {u'。', u'︒'}, {u'：', u'︓'}, {u'；', u'︔'}, {u'！', u'︕'},
    {u'？', u'︖'}, {u'〖', u'︗'}, {u'〗', u'︘'}, {u'…', u'︙'},  {u'‥', u'︰'},  {u'—', u'︱'},
    {u'–', u'︲'},  {u'（', u'︵'}, {u'）', u'︶'}, {u'(', u'︵'},  {u')', u'︶'},  {u'｛', u'︷'},
    {u'｝', u'︸'}, {u'{', u'︷'},  {u'}', u'︸'},  {u'〔', u'︹'}, {u'〕', u'︺'}, {u'【', u'︻'},
    {u'】', u'︼'}, {u'《', u'︽'}, {u'》', u'︾'}, {u'〈', u'︿'}, {u'〉', u'﹀'}, {u'「', u'﹁'},
    {u'」', u'﹂'}, {u'『', u'﹃'}, {u'』', u'﹄'}, {u'“', u'﹁'},  {u'”', u'﹂'},  {u'‘', u'﹃'},
    {u'’', u'﹄'},  {u'［', u'﹇'}, {u'］', u'﹈'}, {u'[', u'﹇'},  {u']', u'﹈'},
};

const QHash<char16_t, char16_t> &table()
{
    static const QHash<char16_t, char16_t> map = [] {
        QHash<char16_t, char16_t> out;
        for (const auto &pair : forms)
            out.insert(pair[0], pair[1]);
        return out;
    }();
    return map;
}

} // namespace

QString turned(const QString &character)
{
    if (character.size() != 1)
        return character;
    const auto found = table().constFind(character.front().unicode());
    return found == table().constEnd() ? character : QString(QChar(*found));
}

bool atUpperRight(const QString &character)
{
    return character.size() == 1 && QStringView(u"︐︑︒︓︔︕︖").contains(character.front());
}

} // namespace verticalforms

// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/request/parserequest.h"

#include "prosody/couplet/duilian.h"

#include <QStringList>

#include <algorithm>

namespace prosody {

namespace {

QString unknownForm(const Cipu &cipu, const QString &text)
{
    QStringList near;
    for (const CiTune *tune : cipu.search(text.left(2)).mid(0, 8))
        near << tune->name;
    return QStringLiteral("不认识的体裁或词牌「%1」，可选：自动、五绝、七绝、五律、七律、排律或词牌名%2")
        .arg(text, near.isEmpty() ? QString() : QStringLiteral("（相近的词牌：%1）").arg(near.join(u'、')));
}

// "没有「念奴娇:40」这一体：念奴娇共 7 体（念奴娇:1 为正体，念奴娇:2 至 念奴娇:7 为又一体）"; for a 词牌 of
// 御定词谱 the numbers are the book's, and the corpus's forms it lacks follow ("，念奴娇:10 为词作另见之体").
QString noSuchForm(const CiTune &tune, const QString &text)
{
    const qsizetype count = tune.forms.size();
    const qsizetype book =
        std::count_if(tune.forms.begin(), tune.forms.end(), [](const CiForm &f) { return f.bookNumber > 0; });
    const qsizetype named = book > 0 ? book : count;
    const auto ref = [&](qsizetype n) { return tune.name + u':' + QString::number(n); };
    const auto span = [&](qsizetype from, qsizetype to) {
        return from == to ? ref(from) : QStringLiteral("%1 至 %2").arg(ref(from), ref(to));
    };
    QString forms = QStringLiteral("%1 为正体").arg(ref(1));
    if (named >= 2)
        forms += QStringLiteral("，%1 为又一体").arg(span(2, named));
    if (book > 0 && count > book)
        forms += QStringLiteral("，%1 为词作另见之体").arg(span(book + 1, count));
    return QStringLiteral("没有「%1」这一体：%2共 %3 体（%4）").arg(text, tune.name).arg(count).arg(forms);
}

ParsedRequest asked(FormRequest form)
{
    return {CheckRequest{std::move(form), std::nullopt}, {}};
}

} // namespace

ParsedRequest parseRequest(const Cipu &cipu, const QString &text)
{
    const QString name = text.trimmed();
    if (name == duilianForm)
        return asked(DuilianForm{});
    if (const std::optional<FormChoice> shi = formFromName(name))
        return shi->form == Form::Auto ? asked(AutoForm{}) : asked(*shi);
    // "念奴娇:2": a 词牌 and the number of its form. A name that holds a colon otherwise is looked up whole.
    const qsizetype colon = std::max(name.lastIndexOf(u':'), name.lastIndexOf(u'：'));
    bool isNumber = false;
    const int number = colon > 0 ? name.mid(colon + 1).trimmed().toInt(&isNumber) : 0;
    if (isNumber)
        if (const CiTune *tune = cipu.find(name.left(colon).trimmed())) {
            if (number < 1 || number > tune->forms.size())
                return {std::nullopt, noSuchForm(*tune, text)};
            return asked(CiFormRef{tune->name, number});
        }
    if (const CiTune *tune = cipu.find(name))
        return asked(CiFormRef{tune->name, 0});
    return {std::nullopt, unknownForm(cipu, text)};
}

} // namespace prosody

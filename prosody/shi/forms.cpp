// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/shi/forms.h"

namespace prosody {

QString formName(Form form, int length)
{
    const QString prefix = length == 7 ? QStringLiteral("七言") : QStringLiteral("五言");
    switch (form) {
    case Form::Jueju:
        return prefix + QStringLiteral("绝句");
    case Form::Lvshi:
        return prefix + QStringLiteral("律诗");
    case Form::Pailv:
        return prefix + QStringLiteral("排律");
    case Form::Auto:
        break;
    }
    return QStringLiteral("自动");
}

std::optional<FormChoice> formFromName(const QString &name)
{
    const QString n = name.trimmed();
    if (n == u"自动" || n.isEmpty())
        return FormChoice{};
    const struct {
        const char16_t *names;
        Form form;
        int length;
    } table[] = {
        {u"五绝 五言绝句", Form::Jueju, 5}, {u"七绝 七言绝句", Form::Jueju, 7}, {u"绝句", Form::Jueju, 0},
        {u"五律 五言律诗", Form::Lvshi, 5}, {u"七律 七言律诗", Form::Lvshi, 7}, {u"律诗", Form::Lvshi, 0},
        {u"五排 五言排律", Form::Pailv, 5}, {u"七排 七言排律", Form::Pailv, 7}, {u"排律", Form::Pailv, 0},
    };
    for (const auto &t : table)
        if (QString::fromUtf16(t.names).split(u' ').contains(n))
            return FormChoice{t.form, t.length};
    return std::nullopt;
}

std::optional<Form> formOfLineCount(qsizetype lines)
{
    if (lines == 4)
        return Form::Jueju;
    if (lines == 8)
        return Form::Lvshi;
    if (lines >= 10 && lines % 2 == 0)
        return Form::Pailv;
    return std::nullopt;
}

QString templateOf(LineType type, int length)
{
    static const QString five[] = {QStringLiteral("仄仄平平仄"), QStringLiteral("平平仄仄平"),
                                   QStringLiteral("平平平仄仄"), QStringLiteral("仄仄仄平平")};
    const QString &core = five[int(type)];
    if (length != 7)
        return core;
    // The opposite of the core's first pair.
    return (core.front() == u'平' ? QStringLiteral("仄仄") : QStringLiteral("平平")) + core;
}

bool isRhymedType(LineType type)
{
    return type == LineType::B || type == LineType::D;
}

QString Variant::name() const
{
    return (pingStart ? QStringLiteral("平起") : QStringLiteral("仄起")) +
           (firstRhymed ? QStringLiteral("首句入韵") : QStringLiteral("首句不入韵"));
}

QList<LineType> lineTypes(Variant variant, int lines, int length)
{
    // In five-character verse A and D start 仄 at the second character; in seven-character verse,
    // with the pair in front, A and D start 平.
    const bool startWithA = (length == 7) == variant.pingStart;
    const LineType fromA[] = {LineType::A, LineType::B, LineType::C, LineType::D};
    const LineType fromC[] = {LineType::C, LineType::D, LineType::A, LineType::B};
    QList<LineType> types;
    for (int i = 0; i < lines; ++i)
        types.append(startWithA ? fromA[i % 4] : fromC[i % 4]);
    if (variant.firstRhymed && !types.isEmpty())
        types[0] = types[0] == LineType::A ? LineType::D : LineType::B;
    return types;
}

QList<int> fixedPositions(int length)
{
    if (length == 7)
        return {2, 4, 6, 7};
    return {2, 4, 5};
}

} // namespace prosody

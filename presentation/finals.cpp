// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/finals.h"

namespace finals {

const std::array<Group, 6> &groups()
{
    static const QString b = QStringLiteral(" ");
    static const std::array<Group, 6> table = {{
        {QStringLiteral("[a]开头"), {"a", "ai", "ao", "an", "ang", b, b, b}},
        {QStringLiteral("[e]开头"), {"e", "ei", "en", "eng", b, b, b, b}},
        {QStringLiteral("[i]开头"), {"i", "ia", "iao", "ian", "iang", "ie", "in", "ing"}},
        {QStringLiteral("[o]开头"), {"o", "ou", "ong", b, b, b, b, b}},
        {QStringLiteral("[u]开头"), {"u", "ua", "uai", "uan", "uang", "ui", "un", "uo"}},
        {QStringLiteral("[ü]开头"), {QStringLiteral("ü"), QStringLiteral("üe"), b, b, b, b, b, b}},
    }};
    return table;
}

QStringList groupTexts()
{
    QStringList texts;
    for (const Group &g : groups())
        texts << g.text;
    return texts;
}

const Group *findGroup(const QString &text)
{
    for (const Group &g : groups())
        if (g.text == text)
            return &g;
    return nullptr;
}

QStringList startItems()
{
    return {QStringLiteral("a"),
            QStringLiteral("ai"),
            QStringLiteral("an"),
            QStringLiteral("ao"),
            QStringLiteral("ang"),
            QString(),
            QString(),
            QString()};
}

} // namespace finals

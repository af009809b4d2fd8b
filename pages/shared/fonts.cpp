// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/fonts.h"

#include <QStringList>

namespace look {

void installFontSubstitutions()
{
    const QStringList cjk = {QStringLiteral("WenQuanYi Micro Hei"),
                             QStringLiteral("WenQuanYi Zen Hei"),
                             QStringLiteral("Noto Sans CJK SC"),
                             QStringLiteral("HanaMinA"),
                             QStringLiteral("HanaMinB"),
                             QStringLiteral("BabelStone Han")};
    QFont::insertSubstitutions(QStringLiteral("新宋体"), cjk);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               QStringList{QStringLiteral("DejaVu Sans")} + cjk);
}

QFont songFont()
{
    QFont font(QStringLiteral("新宋体"));
    font.setPixelSize(12);
    return font;
}

QFont sansSerifFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

} // namespace look

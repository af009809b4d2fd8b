#include "pages/creation/finals.h"

#include "pages/shared/look.h"

#include <QComboBox>

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

bool chooseGroup(QComboBox *groupBox, QComboBox *finalBox)
{
    const Group *group = findGroup(groupBox->currentText());
    if (!group)
        return false;
    look::setFill(groupBox, look::moneyGreen);
    look::setFill(finalBox, look::moneyGreen);
    finalBox->setEnabled(true);
    // The items are replaced before the text is set: QComboBox copies a replaced current item into
    // its edit text, which would otherwise turn the final into the item at the old index.
    for (int i = 0; i < listSize; ++i)
        finalBox->setItemText(i, group->items[i]);
    finalBox->setCurrentIndex(0);
    finalBox->setEditText(group->firstFinal());
    return true;
}

} // namespace finals

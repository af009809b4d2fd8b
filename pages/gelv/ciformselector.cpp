// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/ciformselector.h"

#include "presentation/gelv/ciformchoice.h"

#include <QSignalBlocker>

CiFormSelector::CiFormSelector(CiFormChoice *choice, QWidget *parent)
    : QComboBox(parent)
    , m_choice(choice)
{
    setObjectName(QStringLiteral("Gelv_CiForm_ComboBox"));
    setToolTip(QStringLiteral("词牌的体：正体或又一体，各据词作若干首"));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(10);
    connect(m_choice, &CiFormChoice::entriesChanged, this, &CiFormSelector::showEntries);
    connect(this, &QComboBox::activated, m_choice, &CiFormChoice::choose);
    showEntries();
}

void CiFormSelector::showEntries()
{
    const QSignalBlocker quiet(this);
    clear();
    addItems(m_choice->entries());
    setCurrentIndex(m_choice->current());
    setVisible(!m_choice->entries().isEmpty());
}

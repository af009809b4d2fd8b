#include "app/W_Unit.h"

#include "pages/association/associationpage.h"
#include "pages/shared/guard.h"

#include <QComboBox>
#include <QToolButton>

void TW::wireAssociationPage()
{
    connect(m_think->Think_SpeedButton, &QToolButton::clicked, this, &TW::Think_SpeedButtonClick);
    connect(m_think->Think_ComboBox, &QComboBox::editTextChanged, this, &TW::Think_ComboBoxChange);
    connect(m_think->Think_Edit, &ClickEdit::clicked, this, &TW::Think_EditClick);
    connect(m_think, &AssociationPage::examplesRequested, this, &TW::gelvExamples);
}

void TW::ThinkShow()
{
    guarded(this, [&] { m_think->ThinkShow(); });
}

void TW::Think_SpeedButtonClick()
{
    guarded(this, [&] { m_think->Think_SpeedButtonClick(); });
}

void TW::Think_ComboBoxChange()
{
    guarded(this, [&] { m_think->Think_ComboBoxChange(); });
}

void TW::Think_EditClick()
{
    guarded(this, [&] { m_think->Think_EditClick(); });
}

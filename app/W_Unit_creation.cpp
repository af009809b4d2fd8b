#include "W_Unit.h"

#include "creationpage.h"
#include "guard.h"

#include <QComboBox>
#include <QToolButton>

void TW::wireCreationPage()
{
    // A pick of the item already shown changes no text but is still a choice of that group.
    connect(m_edit->ComboBox1, &QComboBox::editTextChanged, this, &TW::ComboBox1Change);
    connect(m_edit->ComboBox1, &QComboBox::activated, this, &TW::ComboBox1Change);
    connect(m_edit->ComboBox3, &QComboBox::editTextChanged, this, &TW::ComboBox3Change);
    connect(m_edit->Edit_ok_SpeedButton, &QToolButton::clicked, this, &TW::Edit_ok_SpeedButtonClick);
    connect(m_edit->Edit_save_SpeedButton, &QToolButton::clicked, this, &TW::Edit_save_SpeedButtonClick);
}

void TW::EditShow()
{
    guarded(this, [&] { m_edit->EditShow(); });
}

void TW::ComboBox1Change()
{
    guarded(this, [&] { m_edit->ComboBox1Change(); });
}

void TW::ComboBox3Change()
{
    guarded(this, [&] { m_edit->ComboBox3Change(); });
}

void TW::Edit_ok_SpeedButtonClick()
{
    guarded(this, [&] { m_edit->Edit_ok_SpeedButtonClick(); });
}

void TW::Edit_save_SpeedButtonClick()
{
    guarded(this, [&] { m_edit->Edit_save_SpeedButtonClick(); });
}

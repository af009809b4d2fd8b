#include "app/W_Unit.h"

#include "pages/shared/boundcontrols.h"
#include "pages/shared/guard.h"
#include "pages/works/workspage.h"

#include <QComboBox>
#include <QToolButton>

void TW::wireWorksPage()
{
    // Every text change of the selector, picked or typed, lists that category.
    connect(m_show->Show_ComboBox, &QComboBox::editTextChanged, this, &TW::Show_ComboBoxChange);
    connect(m_show->first_SpeedButton, &QToolButton::clicked, this, &TW::first_SpeedButtonClick);
    connect(m_show->Prior_SpeedButton, &QToolButton::clicked, this, &TW::Prior_SpeedButtonClick);
    connect(m_show->next_SpeedButton, &QToolButton::clicked, this, &TW::next_SpeedButtonClick);
    connect(m_show->last_SpeedButton, &QToolButton::clicked, this, &TW::last_SpeedButtonClick);
    connect(m_show->add_SpeedButton, &QToolButton::clicked, this, &TW::add_SpeedButtonClick);
    connect(m_show->ok_SpeedButton, &QToolButton::clicked, this, &TW::ok_SpeedButtonClick);
    connect(m_show->Cancel_SpeedButton, &QToolButton::clicked, this, &TW::Cancel_SpeedButtonClick);
    connect(m_show->del_SpeedButton, &QToolButton::clicked, this, &TW::del_SpeedButtonClick);
    // The coupling follows the user's changes only, never a row being shown.
    connect(m_show->lb_DBComboBox, &DbComboBox::userChanged, this, &TW::lb_DBComboBoxChange);
    connect(m_show->bj_DBComboBox, &DbComboBox::userChanged, this, &TW::bj_DBComboBoxChange);
}

void TW::ShowShow()
{
    guarded(this, [&] { m_show->ShowShow(); });
}

void TW::Show_ComboBoxChange()
{
    guarded(this, [&] { m_show->Show_ComboBoxChange(); });
}

void TW::first_SpeedButtonClick()
{
    guarded(this, [&] { m_show->first_SpeedButtonClick(); });
}

void TW::Prior_SpeedButtonClick()
{
    guarded(this, [&] { m_show->Prior_SpeedButtonClick(); });
}

void TW::next_SpeedButtonClick()
{
    guarded(this, [&] { m_show->next_SpeedButtonClick(); });
}

void TW::last_SpeedButtonClick()
{
    guarded(this, [&] { m_show->last_SpeedButtonClick(); });
}

void TW::add_SpeedButtonClick()
{
    guarded(this, [&] { m_show->add_SpeedButtonClick(); });
}

void TW::ok_SpeedButtonClick()
{
    guarded(this, [&] { m_show->ok_SpeedButtonClick(); });
}

void TW::Cancel_SpeedButtonClick()
{
    guarded(this, [&] { m_show->Cancel_SpeedButtonClick(); });
}

void TW::del_SpeedButtonClick()
{
    guarded(this, [&] { m_show->del_SpeedButtonClick(); });
}

void TW::lb_DBComboBoxChange()
{
    guarded(this, [&] { m_show->lb_DBComboBoxChange(); });
}

void TW::bj_DBComboBoxChange()
{
    guarded(this, [&] { m_show->bj_DBComboBoxChange(); });
}

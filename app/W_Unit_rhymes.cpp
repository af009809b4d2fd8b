#include "app/W_Unit.h"

#include "pages/rhymes/rhymespage.h"
#include "pages/shared/guard.h"

#include <QComboBox>
#include <QToolButton>

void TW::wireRhymesPage()
{
    // A pick of the item already shown changes no text but is still a choice of that group.
    connect(m_view->ComboBox4, &QComboBox::editTextChanged, this, &TW::ComboBox4Change);
    connect(m_view->ComboBox4, &QComboBox::activated, this, &TW::ComboBox4Change);
    connect(m_view->ComboBox6, &QComboBox::editTextChanged, this, &TW::ComboBox6Change);
    connect(m_view->SpeedButton2, &QToolButton::clicked, this, &TW::SpeedButton2Click);
}

void TW::ViewShow()
{
    guarded(this, [&] { m_view->ViewShow(); });
}

void TW::ComboBox4Change()
{
    guarded(this, [&] { m_view->ComboBox4Change(); });
}

void TW::ComboBox6Change()
{
    guarded(this, [&] { m_view->ComboBox6Change(); });
}

void TW::SpeedButton2Click()
{
    guarded(this, [&] { m_view->SpeedButton2Click(); });
}

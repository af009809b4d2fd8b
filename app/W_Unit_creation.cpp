#include "app/W_Unit.h"

#include "db/classicsschema.h"
#include "db/rhymebookschema.h"
#include "pages/creation/creationpage.h"
#include "pages/gelv/gelvwindow.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/guard.h"

#include <QComboBox>
#include <QShortcut>
#include <QToolButton>

void TW::wireCreationPage()
{
    // A pick of the item already shown changes no text but is still a choice of that group.
    connect(m_edit->ComboBox1, &QComboBox::editTextChanged, this, &TW::ComboBox1Change);
    connect(m_edit->ComboBox1, &QComboBox::activated, this, &TW::ComboBox1Change);
    connect(m_edit->ComboBox3, &QComboBox::editTextChanged, this, &TW::ComboBox3Change);
    connect(m_edit->Edit_ok_SpeedButton, &QToolButton::clicked, this, &TW::Edit_ok_SpeedButtonClick);
    connect(m_edit->Edit_save_SpeedButton, &QToolButton::clicked, this, &TW::Edit_save_SpeedButtonClick);
    connect(m_edit, &CreationPage::gelvRequested, this, &TW::Edit_gelv_SpeedButtonClick);
    connect(m_edit, &CreationPage::rhymeLookupRequested, this, &TW::gelvLookUp);
    auto *f9 = new QShortcut(QKeySequence(Qt::Key_F9), this);
    f9->setObjectName(QStringLiteral("W_gelv_Shortcut"));
    connect(f9, &QShortcut::activated, this, &TW::Edit_gelv_SpeedButtonClick);
}

GelvWindow *TW::gelvWindow()
{
    if (!m_gelv)
        m_gelv = new GelvWindow(m_edit->Edit_DBRichEdit, rhymebookschema::defaultPath,
                                classicsschema::defaultPath, this);
    return m_gelv;
}

void TW::Edit_gelv_SpeedButtonClick()
{
    gelvWindow()->open();
}

void TW::gelvLookUp(const QString &hanzi)
{
    gelvWindow()->lookUp(hanzi);
}

void TW::gelvExamples(const QString &word)
{
    gelvWindow()->showExamples(word);
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/poemdialog.h"

#include "pages/shared/look.h"

#include <QTextBrowser>
#include <QVBoxLayout>

PoemDialog::PoemDialog(const QString &name, QWidget *parent)
    : QDialog(parent)
    , m_text(new QTextBrowser(this))
{
    setObjectName(name);
    resize(380, 460);
    m_text->setObjectName(name + QStringLiteral("_Text"));
    m_text->setFont(look::songFont());
    (new QVBoxLayout(this))->addWidget(m_text);
}

void PoemDialog::showPage(const QString &title, const QString &html)
{
    setWindowTitle(title);
    m_text->setHtml(html);
    show();
    raise();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace {
Dialogs *installed = nullptr;

QString applicationTitle()
{
    return QApplication::applicationDisplayName().isEmpty() ? QApplication::applicationName()
                                                            : QApplication::applicationDisplayName();
}
} // namespace

void Dialogs::error(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, applicationTitle(), message);
}

void Dialogs::message(QWidget *parent, const QString &message)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), message, QMessageBox::Ok, parent);
    box.exec();
}

bool Dialogs::askYesNo(QWidget *parent, const QString &title, const QString &question)
{
    return ask(parent, title, question) == Answer::Yes;
}

Dialogs::Answer Dialogs::ask(QWidget *parent, const QString &title, const QString &question)
{
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::None; // left by the event loops' end, no button pressed
    }
}

bool Dialogs::askOkCancel(QWidget *parent, const QString &title, const QString &question)
{
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

Dialogs &Dialogs::current()
{
    static Dialogs boxes;
    return installed ? *installed : boxes;
}

void Dialogs::install(Dialogs *dialogs)
{
    installed = dialogs;
}

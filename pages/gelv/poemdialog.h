// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QTextBrowser;

// The whole poem behind an example line, opened from the 例句 and 对仗 panels. Made once per panel and
// reused: each call of showPage replaces the text and brings the dialog to the front.
class PoemDialog : public QDialog {
    Q_OBJECT
public:
    // name: the dialog's objectName; its text browser is named name + "_Text".
    PoemDialog(const QString &name, QWidget *parent);

    void showPage(const QString &title, const QString &html);

private:
    QTextBrowser *m_text;
};

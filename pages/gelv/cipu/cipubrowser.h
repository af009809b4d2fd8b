// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/ciformref.h"

#include <QDialog>

class CipuBrowserModel;
class QComboBox;
class QLineEdit;
class QListView;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTextBrowser;

// The 词谱 to read: the 调 by name or alias, 字数 and 卷, a 调's 体 in the book's order, and the chosen
// 体's pattern with the corpus's counts at each place, its example, note and authority. 按此体填词 asks
// for that 体 in the draft.
class CipuBrowser : public QDialog {
    Q_OBJECT
public:
    CipuBrowser(CipuBrowserModel *model, QWidget *parent = nullptr);

    // Shows a 调 (by name or alias) and its first 体, clearing the filters that would hide it.
    void showTune(const QString &name);
    // The 卷 to browse, once the 词谱 is read.
    void fillJuans();

signals:
    void formChosen(const prosody::CiFormRef &form);

private:
    void showFirst();
    void showForms();
    void showSheet();
    int currentTune() const;

    CipuBrowserModel *m_model;
    QLineEdit *m_filter;
    QComboBox *m_juan;
    QSpinBox *m_characters;
    QListView *m_tunes;
    QListWidget *m_forms;
    QTextBrowser *m_sheet;
    QPushButton *m_fill;
};

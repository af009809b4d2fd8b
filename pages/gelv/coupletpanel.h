// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class CoupletWordsSource;
class PoemDialog;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The 对仗 tab of the 格律 window: the words the masters set against a word (typed here, selected in
// the draft or at its caret), each with its count and example couplet, and the whole poem of an
// example on a double-click.
class CoupletPanel : public QWidget {
    Q_OBJECT
public:
    CoupletPanel(CoupletWordsSource *source, QWidget *parent);

private:
    // Shows the source's word and rows.
    void refresh();
    void showPoem(QTreeWidgetItem *item);

    CoupletWordsSource *m_source;
    QLineEdit *m_word;
    QLabel *m_summary;
    QTreeWidget *m_list;
    PoemDialog *m_poem = nullptr; // made when an example is first opened
    bool m_typing = false;
};

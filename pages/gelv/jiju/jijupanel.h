// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class JijuSource;
class PoemDialog;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The 集句 tab of the 格律 window: lines of the classics by 平仄 pattern, rhyme group, characters at
// places, dynasty and poet; the count by dynasty first, the lines page by page as the list is
// scrolled, and the whole poem of a line on a double-click.
class JijuPanel : public QWidget {
    Q_OBJECT
public:
    JijuPanel(JijuSource *source, QWidget *parent);

private:
    void showChoices();
    void search();
    void fillFromCaret();
    void showRows(int from);
    void showPoem(QListWidgetItem *item);

    JijuSource *m_source;
    QLineEdit *m_pattern;
    QPushButton *m_fromCaret;
    QComboBox *m_rhyme;
    QLineEdit *m_places;
    QComboBox *m_dynasty;
    QLineEdit *m_author;
    QPushButton *m_search;
    QLabel *m_summary;
    QListWidget *m_list;
    PoemDialog *m_poem = nullptr; // made when a line is first opened
};

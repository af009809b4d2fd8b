// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class LookupSource;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// The 查韵 tab of the 格律 window: a character's readings, its groups in every book, and the
// characters of the chosen group to pick from.
class LookupPanel : public QWidget {
    Q_OBJECT
public:
    LookupPanel(LookupSource *source, QWidget *parent);

signals:
    // A character of the group was double-clicked.
    void characterChosen(const QString &hanzi);

private:
    // Shows the source's lookup.
    void refresh();

    LookupSource *m_source;
    QLineEdit *m_char;
    QLabel *m_readings;
    QLabel *m_books;
    QComboBox *m_groups;
    QLabel *m_note;
    QListWidget *m_candidates;
    QListWidget *m_common;
    QListWidget *m_other;
};

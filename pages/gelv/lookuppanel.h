#pragma once

#include <QWidget>

class GelvModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// The 查韵 tab of the 格律 window: a character's readings, its groups in every book, and the
// characters of the chosen group to pick from.
class LookupPanel : public QWidget {
    Q_OBJECT
public:
    LookupPanel(GelvModel *model, QWidget *parent);

    // Shows the model's lookup.
    void refresh();

signals:
    // A character of the group was double-clicked.
    void characterChosen(const QString &hanzi);

private:
    GelvModel *m_model;
    QLineEdit *m_char;
    QLabel *m_readings;
    QLabel *m_books;
    QComboBox *m_groups;
    QListWidget *m_common;
    QListWidget *m_other;
};

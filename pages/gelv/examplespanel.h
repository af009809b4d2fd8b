// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class ExamplesSource;
class PoemDialog;
class QLabel;
class QListWidget;
class QListWidgetItem;

// The 例句 tab of the 格律 window: the lines of the classics holding a text, page by page as the
// list is scrolled, and the whole poem of a line on a double-click.
class ExamplesPanel : public QWidget {
    Q_OBJECT
public:
    ExamplesPanel(ExamplesSource *source, QWidget *parent);

private:
    void showRows(int from);
    void showPoem(QListWidgetItem *item);

    ExamplesSource *m_source;
    QLabel *m_summary;
    QListWidget *m_list;
    PoemDialog *m_poem = nullptr; // made when a line is first opened
};

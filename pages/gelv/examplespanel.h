#pragma once

#include <QWidget>

class ExamplesModel;
class QDialog;
class QLabel;
class QListWidget;
class QListWidgetItem;

// The 例句 tab of the 格律 window: the lines of the classics holding a text, page by page as the
// list is scrolled, and the whole poem of a line on a double-click.
class ExamplesPanel : public QWidget {
    Q_OBJECT
public:
    explicit ExamplesPanel(QWidget *parent);

    // The model arrives when the classics are first opened.
    void setModel(ExamplesModel *model);

private:
    void showRows(int from);
    void showPoem(QListWidgetItem *item);

    ExamplesModel *m_model = nullptr;
    QLabel *m_summary;
    QListWidget *m_list;
    QDialog *m_poem = nullptr; // made when a line is first opened
};

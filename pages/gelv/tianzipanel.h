// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class TianziSource;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// The 填字 tab of the 格律 window: the words the masters wrote at the place of the caret, fitting its
// 平仄 and rhyme, each with its count and a line; a double-click types the word into the draft.
class TianziPanel : public QWidget {
    Q_OBJECT
public:
    TianziPanel(TianziSource *source, QWidget *parent);

signals:
    // What a double-click types at the caret.
    void wordChosen(const QString &text);

private:
    void refresh();
    void choose(QTreeWidgetItem *item);

    TianziSource *m_source;
    QLabel *m_summary;
    QTreeWidget *m_list;
};

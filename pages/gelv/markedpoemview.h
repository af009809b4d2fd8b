#pragma once

#include "presentation/gelv/markedrows.h"

#include <QWidget>

// The checked poems as their rows give them: each line with its characters and a mark under each
// (○ 平, ● 仄, ◎ 中, ？ unknown), the template's class above a character, faults in red, the rhyme
// characters underlined with their group after the line; a 词's lines not yet written as their
// pattern. Hovering a character shows its tip.
class MarkedPoemView : public QWidget {
    Q_OBJECT
public:
    explicit MarkedPoemView(QWidget *parent = nullptr);

    void setRows(const QList<MarkedRow> &rows);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    QRect cellRect(int row, int column) const;
    int rowTop(int row) const;
    static int rowHeight(const MarkedRow &row);

    QList<MarkedRow> m_rows;
};

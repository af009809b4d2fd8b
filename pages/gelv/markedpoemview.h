// SPDX-License-Identifier: GPL-3.0-or-later
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
    // Everything larger or smaller by the factor (1 as made); the rows stay as they are.
    void setScale(qreal scale);
    qreal scale() const { return m_scale; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    // The sizes of a line's parts in pixels at the scale.
    struct Metrics {
        int cell;     // width of one character
        int expected; // the template's class above
        int chr;
        int mark;
        int gap;
        int summary;
        int markDiameter;
        int expectedDiameter;
    };
    Metrics metrics() const;
    QRect cellRect(int row, int column) const;
    int rowTop(int row) const;
    int rowHeight(const MarkedRow &row) const;
    QFont sized(int pixels, bool bold = false) const;

    QList<MarkedRow> m_rows;
    qreal m_scale = 1;
};

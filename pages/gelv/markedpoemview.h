#pragma once

#include "prosody/check.h"

#include <QWidget>

// The checked poems, each line with its characters and a mark under each (○ 平, ● 仄, ◎ 中,
// ？ unknown), the template's class above a character where the two differ, faults in red and the
// rhyme characters with their group after the line.
class MarkedPoemView : public QWidget {
    Q_OBJECT
public:
    explicit MarkedPoemView(QWidget *parent = nullptr);

    void setChecks(const QList<prosody::PoemCheck> &checks);

    // What the view shows, one entry per painted row, as text: a summary, or a line as
    // "chars|marks|template|faults|rhyme" (template: 平 or 仄 where it differs, else a blank; faults:
    // ✗ under a fault, else a blank).
    QStringList rows() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Row {
        QString summary; // set for a poem's summary row
        QList<QString> chars;
        QString marks;
        QString expected; // template class where it differs from the character's, else a blank
        QList<bool> faults;
        QList<bool> rhymes;
        QString rhyme; // the group written after a rhymed line
        QStringList tips;
        bool ok = true;
    };
    QRect cellRect(int row, int column) const;
    int rowTop(int row) const;
    int rowHeight(const Row &row) const;

    QList<Row> m_rows;
};

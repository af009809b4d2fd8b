#pragma once

#include "prosody/check.h"
#include "prosody/ci/cipu.h"

#include <QWidget>

// The checked poems, each line with its characters and a mark under each (○ 平, ● 仄, ◎ 中,
// ？ unknown), the template's class above a character where the two differ, faults in red and the
// rhyme characters with their group after the line.
class MarkedPoemView : public QWidget {
    Q_OBJECT
public:
    explicit MarkedPoemView(QWidget *parent = nullptr);

    void setChecks(const QList<prosody::PoemCheck> &checks);

    // What the view shows, one entry per painted row, as text: a summary, a line as
    // "chars|marks|template|faults|rhyme" (template: for 诗 平 or 仄 where it differs from the
    // character, else a blank; for 词 the pattern's ○ ● ◎ over every character; faults: ✗ under a
    // fault, else a blank), a line of a 词's form not yet written as "谱|marks|rhyme", and "—" between
    // the 片.
    QStringList rows() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Row {
        QString summary;          // set for a poem's summary row
        bool patternOnly = false; // a line of a 词's form that the poem has not reached
        bool gap = false;         // the space between the 片 of a 词
        QList<QString> chars;
        QString marks;
        QString expected; // template class where it differs from the character's, else a blank
        QList<bool> faults;
        QList<bool> rhymes;
        QString rhyme; // the group written after a rhymed line
        QStringList tips;
        bool ok = true;
    };
    void addShi(const prosody::PoemCheck &check);
    void addCi(const prosody::PoemCheck &check);
    Row lineRow(const prosody::PoemCheck &check, qsizetype index) const;
    QRect cellRect(int row, int column) const;
    int rowTop(int row) const;
    int rowHeight(const Row &row) const;

    QList<Row> m_rows;
};

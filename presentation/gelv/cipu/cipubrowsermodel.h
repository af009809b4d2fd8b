// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/gelv/cipu/cipusheet.h"

#include <QAbstractListModel>
#include <QStringList>

#include <memory>

namespace prosody {
class Cipu;
struct CiTune;
} // namespace prosody

// The 调 of the 词谱 browser, narrowed by a typed name or alias, by 字数 and by the book's 卷: with
// nothing typed in the book's order, the 调 the book lacks after them by use; with a name typed, as the
// form selector finds them. A 调's 体 in the book's order, the corpus's after them, and the sheet of one.
class CipuBrowserModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit CipuBrowserModel(QObject *parent = nullptr);

    // The 词谱 comes with the rhyme books, once they are read.
    void setCipu(std::shared_ptr<const prosody::Cipu> cipu);
    bool isEmpty() const;

    void setFilter(const QString &typed);
    // 调 with a 体 of that many characters; 0: any.
    void setCharacters(int characters);
    // 调 of that 卷; 0: any, -1: the 调 the book lacks.
    void setJuan(int juan);
    // The 卷 that hold a 调, in order.
    QList<int> juans() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    // The 调's name, its 卷 and how many 体 ("浣溪沙　卷四 · 6 体"); its other names as the tooltip.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const prosody::CiTune *tune(int row) const;
    // The row of a 调 by its name or alias, -1 where the filters leave it out.
    int rowOf(const QString &name) const;
    // Its 体: "正体（韩偓） · 42 字 · 据词作 850 首".
    QStringList formNames(int row) const;
    CiFormSheet sheet(int row, int form) const;

private:
    void refilter();
    bool passes(const prosody::CiTune &tune) const;

    std::shared_ptr<const prosody::Cipu> m_cipu;
    QString m_typed;
    int m_characters = 0;
    int m_juan = 0;
    QList<const prosody::CiTune *> m_rows;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/couplet/pairsource.h"

#include <QHash>
#include <QList>
#include <QString>

class SqliteFile;

namespace classics {
class CoupletPairs;
}

// Two lines of a couplet.
struct CoupletLines {
    QString upper;
    QString lower;
};

// The pairs of the classics file without those one poem brought into it, so that a poem the file
// holds is judged as a new poem would be: the middle couplets of the file that share a line with the
// poem's middle couplets are taken off the counts (a copy of the poem with another reading of a
// character goes too), with the units they count, and, when the file holds the poem, its outer
// couplets off the outer counts.
class LeaveOneOut : public prosody::PairSource {
public:
    LeaveOneOut(const classics::CoupletPairs &pairs, const SqliteFile &file,
                const QList<CoupletLines> &middle, const QList<CoupletLines> &outer);

    int pairCount(const QString &a, const QString &b) const override;
    int groupOf(const QString &unit) const override;
    int outerCount(const QString &a, const QString &b) const override;
    int unitCount(const QString &unit) const override;
    qint64 characterCount() const override;
    double groupAffinity(int a, int b) const override;

private:
    const classics::CoupletPairs &m_pairs;
    QHash<QString, int> m_own;      // "甲\t乙": the poem's middle pairs in the file
    QHash<QString, int> m_ownOuter; // the same for its outer couplets
    QHash<QString, int> m_ownUnits; // how often each unit stands in the poem's middle pairs
};

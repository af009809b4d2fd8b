// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/leaveoneout.h"

#include "classics/coupletpairs.h"
#include "db/sqlite.h"
#include "prosody/couplet/rhythm.h"

#include <QSet>

namespace {

// The pairs the builder counts in a couplet, both ways, and (where units is given) each unit once.
void addPairs(QHash<QString, int> &to, const QString &upper, const QString &lower,
              QHash<QString, int> *units = nullptr)
{
    const QList<uint> u = upper.toUcs4(), l = lower.toUcs4();
    if (u.size() != l.size())
        return;
    for (const prosody::Span &s : prosody::countedSpans(int(u.size()))) {
        const QString a =
            QString::fromUcs4(reinterpret_cast<const char32_t *>(u.constData()) + s.from, s.length);
        const QString b =
            QString::fromUcs4(reinterpret_cast<const char32_t *>(l.constData()) + s.from, s.length);
        if (a == b)
            continue;
        ++to[a + u'\t' + b];
        ++to[b + u'\t' + a];
        if (units)
            ++(*units)[a], ++(*units)[b];
    }
}

} // namespace

LeaveOneOut::LeaveOneOut(const classics::CoupletPairs &pairs, const SqliteFile &file,
                         const QList<CoupletLines> &middle, const QList<CoupletLines> &outer)
    : m_pairs(pairs)
{
    Statement rows(file, QByteArrayLiteral("SELECT 编号, 上, 下 FROM 联 WHERE 上 = ?1 OR 下 = ?2"));
    QSet<qint64> seen;
    for (const CoupletLines &c : middle) {
        rows.bindText(1, c.upper);
        rows.bindText(2, c.lower);
        while (rows.step())
            if (!seen.contains(rows.int64(0))) {
                seen.insert(rows.int64(0));
                addPairs(m_own, rows.text(1), rows.text(2), &m_ownUnits);
            }
        rows.reset();
    }
    if (!seen.isEmpty())
        for (const CoupletLines &c : outer)
            addPairs(m_ownOuter, c.upper, c.lower);
}

int LeaveOneOut::pairCount(const QString &a, const QString &b) const
{
    return std::max(0, m_pairs.pairCount(a, b) - m_own.value(a + u'\t' + b));
}

int LeaveOneOut::groupOf(const QString &unit) const
{
    return m_pairs.groupOf(unit);
}

int LeaveOneOut::outerCount(const QString &a, const QString &b) const
{
    return std::max(0, m_pairs.outerCount(a, b) - m_ownOuter.value(a + u'\t' + b));
}

int LeaveOneOut::unitCount(const QString &unit) const
{
    return std::max(0, m_pairs.unitCount(unit) - m_ownUnits.value(unit));
}

qint64 LeaveOneOut::characterCount() const
{
    return m_pairs.characterCount();
}

double LeaveOneOut::groupAffinity(int a, int b) const
{
    return m_pairs.groupAffinity(a, b);
}

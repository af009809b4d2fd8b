// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/evaluate/leaveoneout.h"

#include <QList>
#include <QString>

// The couplets read one by one and judged as a poet would (judgedcouplets.tsv, built into the
// evaluator): the outer couplets of the 律诗 of 唐诗三百首 and every couplet of the 律诗 of 千家诗 that
// 唐诗三百首 does not hold, the held-back lists the check is never tuned on.
struct JudgedCouplet {
    enum class Reading { Parallel, Plain, Doubtful }; // 对 散 疑
    QString source;                                   // 唐诗三百首 or 千家诗
    QString author;
    QString title;
    QString position; // 首联 颔联 颈联 尾联
    CoupletLines lines;
    Reading reading = Reading::Doubtful;

    bool middle() const;
};

// The list in its order; throws std::runtime_error when it is missing or a row is malformed.
QList<JudgedCouplet> judgedCouplets();

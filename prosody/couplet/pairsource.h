// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/couplet/couplet.h"

#include <QString>

#include <optional>

namespace prosody {

// What the couplet check knows of the classics: how often the middle couplets of regulated verse set
// two units against each other, and the group a unit falls in by whom it stands against. The
// classics file implements it (classics/coupletpairs.h); a test fills one from its own pairs.
class PairSource {
public:
    virtual ~PairSource() = default;

    // How often a and b (of one to four characters, the same length) stand at the same place of a
    // 颔联 or 颈联, counted both ways; 0 when never.
    virtual int pairCount(const QString &a, const QString &b) const = 0;
    // The group of a unit of one or two characters; 0 when it has none (too rare to place).
    virtual int groupOf(const QString &unit) const = 0;

    // What else the classics say, each 0 when the source does not know it, so that a source that knows
    // less judges on less evidence:
    // how often a and b stand at the same place of a 首联 or 尾联 (pairs of plain lines among them);
    virtual int outerCount(const QString &a, const QString &b) const
    {
        Q_UNUSED(a);
        Q_UNUSED(b);
        return 0;
    }
    // how often a unit stands at a counted place of a 颔联 or 颈联, and the same summed over all
    // one-character units (the two give the count a pair of characters would have by chance);
    virtual int unitCount(const QString &unit) const
    {
        Q_UNUSED(unit);
        return 0;
    }
    virtual qint64 characterCount() const { return 0; }
    // ln(observed ÷ expected) of the units of groups a and b set against each other.
    virtual double groupAffinity(int a, int b) const
    {
        Q_UNUSED(a);
        Q_UNUSED(b);
        return 0;
    }

    // A source that lasts (the classics file, opened once for the window) may remember whole couplets
    // judged, for the check runs again on every keystroke; key is the two lines. By default nothing is
    // remembered.
    virtual std::optional<Couplet> remembered(const QString &key) const
    {
        Q_UNUSED(key);
        return std::nullopt;
    }
    virtual void remember(const QString &key, const Couplet &couplet) const
    {
        Q_UNUSED(key);
        Q_UNUSED(couplet);
    }
};

} // namespace prosody

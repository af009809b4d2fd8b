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

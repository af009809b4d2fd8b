// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

class QIODevice;
struct Work;

// One external format, written a work at a time so that a long export runs in steps.
class WorkWriter {
public:
    virtual ~WorkWriter() = default;
    virtual void begin(QIODevice *out) = 0;
    virtual void write(const Work &work) = 0;
    virtual void end() = 0;

protected:
    // Writes all of `bytes`. A device that takes only part of them (a disk filling up) is asked for
    // the rest, so that the failure shows as the device's error and the save is refused.
    static void writeAll(QIODevice *out, const QByteArray &bytes);
};

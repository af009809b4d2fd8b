// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/works/worksdialogs.h"

#include <QElapsedTimer>

// Runs a job (done(), total(), step()) to its end, asking `progress` before every step whether the
// user cancelled and showing how far it is every few hundredths of a second, which lets the window
// handle its events meanwhile. False when the user cancelled; the job is left as it stands.
template <class Job> bool runInSteps(Job &job, WorksDialogs::Progress &progress)
{
    constexpr qint64 showEveryMs = 40;
    QElapsedTimer shown;
    shown.start();
    progress.setValue(0);
    while (job.done() < job.total()) {
        if (progress.canceled())
            return false;
        job.step();
        if (shown.elapsed() >= showEveryMs) {
            progress.setValue(job.done());
            shown.restart();
        }
    }
    progress.setValue(job.total());
    return !progress.canceled();
}

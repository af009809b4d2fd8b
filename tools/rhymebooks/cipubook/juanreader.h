// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktypes.h"
#include "tools/rhymebooks/cipubook/printedtext.h"

#include <QList>

namespace cipubook {

// A form as printed, before its parts are read.
struct PrintedForm {
    Text name;    // 调名 for the 正体, 又一體 after it
    Text heading; // the small print of the heading, read
    QString author;
    QString source;
    QList<PrintedLine> example;
    Text note;
    Place place;
};

struct PrintedTune {
    Text name;
    Text origin;
    Place place;
    QList<PrintedForm> forms;
};

struct PrintedJuan {
    QList<PrintedTune> tunes;
    QList<ReadProblem> problems;
};

// The body of one 卷 (its table of contents left out) cut into 调 and forms: a 调 opens with its name
// and the note on its origin, each form with its heading (its author on the same line or the next),
// then the example, then the note in small print.
PrintedJuan cutJuan(const QList<PrintedLine> &lines);

} // namespace cipubook

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QString>
#include <QTextStream>

#include <memory>

// The classes of 平水韵 audited against how the classics rhyme: every character rhymed in the regulated
// verse and the 词 of a classics file, counted at 平 and at 仄 rhyme positions, and the characters whose
// classes in the book disagree with those counts, with a line each. Markdown for docs/READINGS.md.
int auditReadings(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &classicsPath,
                  QTextStream &out);

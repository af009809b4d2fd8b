// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QString>
#include <QTextStream>

#include <memory>

// Characters of both classes at places whose class is beyond doubt: in the 词 of a classics file, the
// places of a form where 95% of its poems (ten or more) agree on 平 or 仄; in its regulated verse of at most
// two faults, the 平 and 仄 places of the template. How often such a character is read with the place, left
// 中 (or accepted there as 拗救), or read against it by its word, and the words that read against it, each
// with a line. Markdown for docs/READINGS.md.
int polyphonesAgainstEvidence(const std::shared_ptr<const prosody::RhymeBooks> &books,
                              const QString &classicsPath, QTextStream &out);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/findings/poemcheck.h"

#include <QList>
#include <QString>

// The 平仄 pattern of the line the poet is writing, for the 集句 tab to search by: the template of the
// line at the caret in the form it was checked as (the whole line of a 词's form, however much of it
// is written), or, on a new line after a poem still being written, the template of the line to come.
// 平 仄 中 per place, 中 where the form leaves it free; empty when the caret is at no line of a form.
// caret is a UTF-16 offset into the text that was checked.
QString patternAt(const QList<prosody::PoemCheck> &checks, int caret);

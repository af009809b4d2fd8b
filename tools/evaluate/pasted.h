// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QTextStream>

#include <memory>

// How the anthology's text is pasted: in simplified characters as printed (notes, variant readings
// and all), the same with the notes taken out (--clean), or with the traditional characters it
// prints (--traditional).
enum class PastedAs { Simplified, Clean, Traditional };

// The check as a user meets it: the regulated verse of 唐诗三百首 pasted and checked in 自动.
int pastedAnthology(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &dist, PastedAs as,
                    QTextStream &out);

#pragma once

#include "prosody/core/books.h"

#include <QTextStream>

#include <memory>

// The check as a user meets it: the regulated verse of 唐诗三百首 pasted as the anthology prints it
// (notes, variant readings and all) and checked in 自动; with --clean, with the notes taken out first;
// with traditional, in the anthology's own characters rather than converted to simplified first.
int pastedAnthology(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &dist, bool clean,
                    bool traditional, QTextStream &out);

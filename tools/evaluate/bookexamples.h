// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QString>
#include <QTextStream>

#include <memory>

// Every example 词 of 御定词谱 (dir: data/yuding-cipu) checked twice: against its own 体 (合谱 or not) and
// in 自动 without its title (named as its 调 or not); the counts, and those that fail with why.
int cipubookExamples(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &dir,
                     QTextStream &out);

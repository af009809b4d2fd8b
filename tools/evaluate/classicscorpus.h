// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// The poems of a classics file as the audits read them: the 诗 by "author《title》", the 词 by their
// title (the 词牌, sometimes with a name after "・").
struct ClassicsCorpus {
    QString version;
    QList<std::pair<QString, QStringList>> shi; // "author《title》", lines
    QList<std::pair<QString, QStringList>> ci;  // the title, lines
    QStringList ciNames;                        // "author《title》" of each 词
};

ClassicsCorpus readClassicsCorpus(const QString &path);

// The 词牌 of the 词谱 a title names, or empty.
QString tuneOfTitle(const prosody::RhymeBooks &books, const QString &title);

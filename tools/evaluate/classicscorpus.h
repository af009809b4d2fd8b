// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <functional>
#include <memory>

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace prosody {
struct PoemCheck;
}

// The poems of a classics file as the audits read them: the 诗 by "author《title》", the 词 by their
// title (the 词牌, sometimes with a name after "・").
struct ClassicsCorpus {
    QString version;
    QList<std::pair<QString, QStringList>> shi; // "author《title》", lines
    QList<std::pair<QString, QStringList>> ci;  // the title, lines
    QStringList ciNames;                        // "author《title》" of each 词
};

ClassicsCorpus readClassicsCorpus(const QString &path);

// The 词牌 of the 词谱 a title names, among several of that name the one the lines fit best; empty when
// none.
QString tuneOfTitle(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &title,
                    const QStringList &lines);

// What a walk over the classics checked: the 词 under a 词牌 of the 词谱, and those under a name it lacks.
struct CorpusWalk {
    int ci = 0, ciUnknown = 0;
};

// Checks every poem of the corpus: each 诗 read as one poem in 平水韵, each 词 against the 词牌 its
// title names (in 词林正韵), handing each check with where the poem is ("author《title》").
CorpusWalk checkCorpus(const std::shared_ptr<const prosody::RhymeBooks> &books, const ClassicsCorpus &corpus,
                       const std::function<void(const QString &where, const prosody::PoemCheck &)> &shi,
                       const std::function<void(const QString &where, const prosody::PoemCheck &)> &ci);

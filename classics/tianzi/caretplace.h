// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classics/tianzi/suggester.h"
#include "prosody/couplet/pairsource.h"
#include "prosody/findings/poemcheck.h"
#include "prosody/request/checkrequest.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

// Where the caret of a draft stands, as the check of the draft sees it, and the test every word
// offered there passes: put in, the check finds no fault it did not find before.
namespace classics::tianzi {

// The line and place of the caret (a UTF-16 offset into the text the checks are of), with what the
// form asks there: a caret after a line's last character of a finished line stands at the start of the
// next line. A text without a poem gives a place of unknown length at 0.
Place placeAt(const QList<prosody::PoemCheck> &checks, int caret, const prosody::RhymeBooks &books);

// The 1-based line of the caret's poem, as placeAt() reads it (for --suggest and the panel's title).
struct CaretLine {
    int line = 1;
    int place = 1;
};
CaretLine caretLine(const QList<prosody::PoemCheck> &checks, int caret);

// Runs the real check on the draft with a word put in at the caret and compares its faults, line by
// line and kind by kind, with those of the draft as it is.
class FaultGuard {
public:
    // lead: what goes before each word (Place::lead).
    FaultGuard(std::shared_ptr<const prosody::RhymeBooks> books, QString text, int caret,
               prosody::CheckRequest request, const prosody::PairSource *pairs = nullptr, QString lead = {});
    bool operator()(const QString &word) const;

private:
    QHash<quint32, int> faultsOf(const QString &text) const;

    std::shared_ptr<const prosody::RhymeBooks> m_books;
    QString m_text;
    int m_caret;
    prosody::CheckRequest m_request;
    const prosody::PairSource *m_pairs;
    QString m_lead;
    QHash<quint32, int> m_before;
};

// The words offered at the caret of a draft: the place as the check of the whole draft sees it (its
// form, variant and rhyme), each word tried by a FaultGuard on the caret's poem up to the caret,
// checked as the form the whole draft was found to be.
struct CaretWords {
    CaretLine where;
    Place place;
    QList<Suggestion> words;
};
CaretWords wordsAtCaret(const Suggester &suggester, std::shared_ptr<const prosody::RhymeBooks> books,
                        const QString &text, int caret, const prosody::CheckRequest &request,
                        const QList<prosody::PoemCheck> &checks, int limit);

} // namespace classics::tianzi

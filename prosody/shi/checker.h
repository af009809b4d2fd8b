// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"
#include "prosody/findings/poemcheck.h"
#include "prosody/shi/forms.h"

#include <memory>

namespace prosody {

// Checks poems against the templates of regulated verse in one rhyme book.
class Checker {
public:
    explicit Checker(std::shared_ptr<const RhymeBooks> books);

    // form.length (5 or 7) may be 0: any.
    PoemCheck check(const Poem &poem, Book book, FormChoice form = {}) const;
    QList<PoemCheck> checkText(const QString &text, Book book, FormChoice form = {}) const;

    const RhymeBooks &books() const { return *m_books; }

private:
    std::shared_ptr<const RhymeBooks> m_books;
};

} // namespace prosody

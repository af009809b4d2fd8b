// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/shi/checker.h"

#include "prosody/findings/characternotes.h"
#include "prosody/reading/classes.h"
#include "prosody/shi/linetypes.h"
#include "prosody/shi/progress.h"
#include "prosody/shi/rhymes.h"
#include "prosody/shi/rules.h"
#include "prosody/shi/shape.h"

namespace prosody {

Checker::Checker(std::shared_ptr<const RhymeBooks> books)
    : m_books(std::move(books))
{
}

PoemCheck Checker::check(const Poem &poem, Book book, FormChoice form) const
{
    ShiPoem shi(*m_books, poem, classesOf(*m_books, poem, book), book);
    PoemCheck &out = shi.out();
    if (out.lines.isEmpty())
        return out;
    out.findings += characterNotes(*m_books, book, out.lines);
    if (judgeShape(shi, form) && !judgeObliqueRhyme(shi, form.form != Form::Auto)) {
        chooseRhymeGroup(shi);
        chooseLineTypes(shi);
        judgeLines(shi);
        judgeRhymes(shi);
        addPendingLines(shi);
    }
    out.sortFindings();
    return out;
}

QList<PoemCheck> Checker::checkText(const QString &text, Book book, FormChoice form) const
{
    QList<PoemCheck> out;
    for (const Poem &poem : readPoems(text))
        out.append(check(poem, book, form));
    return out;
}

} // namespace prosody

// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/gelvwindowmodel.h"

#include "classics/classics.h"
#include "classics/coupletpairs.h"
#include "classics/lines/linepatterns.h"
#include "classics/tianzi/continuations.h"
#include "presentation/gelv/checkmodel.h"
#include "presentation/gelv/ciformchoice.h"
#include "presentation/gelv/cipu/cipubrowsermodel.h"
#include "presentation/gelv/coupletwordsmodel.h"
#include "presentation/gelv/examplesmodel.h"
#include "presentation/gelv/formchoicemodel.h"
#include "presentation/gelv/gelvsettings.h"
#include "presentation/gelv/jiju/jijumodel.h"
#include "presentation/gelv/jiju/patternhere.h"
#include "presentation/gelv/lookupmodel.h"
#include "presentation/gelv/tianzimodel.h"
#include "prosody/core/books.h"
#include "prosody/core/referencefile.h"

#include <algorithm>

using namespace prosody;

GelvWindowModel::GelvWindowModel(const QString &booksPath, const QString &classicsPath, QObject *parent)
    : QObject(parent)
    , m_booksPath(booksPath)
    , m_classicsPath(classicsPath)
    , m_forms(new FormChoiceModel(this))
    , m_check(new CheckModel(this))
    , m_lookup(new LookupModel(this))
    , m_examples(new ExamplesModel(nullptr, QString(), 50, this))
    , m_couplets(new CoupletWordsModel(this))
    , m_tianzi(new TianziModel(this))
    , m_jiju(new JijuModel(50, this))
    , m_ciForms(new CiFormChoice(m_forms, m_check, this))
    , m_cipu(new CipuBrowserModel(this))
{
    connect(m_forms, &FormChoiceModel::choiceChanged, this,
            [this] { m_check->setRequest(m_forms->request()); });
    connect(m_forms, &FormChoiceModel::bookChanged, this, [this] {
        m_lookup->setBook(m_forms->book());
        m_jiju->setBook(m_forms->book());
    });
    m_jiju->setPatternHere([this] { return patternAt(m_check->checks(), m_caret - m_check->checkedFrom()); });
    connect(m_check, &CheckModel::checksChanged, this, [this] {
        m_rows = markedRows(m_check->checks());
        emit rowsChanged();
        followTianzi();
    });
    connect(m_lookup, &LookupModel::lookupChanged, this, [this] {
        if (m_lookup->lookup() == m_lookedUp)
            return; // another group or book of the same character
        m_lookedUp = m_lookup->lookup();
        m_word.clear();
        showExamplesOf();
    });
}

bool GelvWindowModel::open()
{
    if (!m_classicsOpened) {
        m_classicsOpened = true;
        std::shared_ptr<const classics::Classics> opened;
        QString error;
        try {
            opened = classics::Classics::open(m_classicsPath);
        } catch (const classics::ClassicsError &e) {
            error = e.message();
        }
        m_examples->setClassics(opened, error);
        m_lookup->setClassics(opened);
        // An older file serves the 例句 but has no pairs: the 对仗 tab says how to rebuild it.
        std::shared_ptr<const classics::CoupletPairs> pairs;
        if (opened) {
            try {
                pairs = classics::CoupletPairs::open(m_classicsPath);
            } catch (const classics::ClassicsError &e) {
                error = e.message();
            }
        }
        m_couplets->setSources(pairs, opened, error);
        m_check->setPairs(pairs);
        std::shared_ptr<const classics::tianzi::Continuations> table;
        if (opened) {
            try {
                table = classics::tianzi::Continuations::open(m_classicsPath);
            } catch (const classics::ClassicsError &e) {
                error = e.message();
            }
        }
        m_tianzi->setSources(table, pairs, error);
        m_classics = opened;
    }
    if (m_books)
        return true;
    try {
        m_books = loadRhymeBooks(m_booksPath);
        m_error.clear();
    } catch (const LoadError &e) {
        m_error = e.message();
        return false;
    }
    m_forms->setBooks(m_books);
    m_check->setBooks(m_books);
    m_lookup->setBooks(m_books);
    m_tianzi->setBooks(m_books);
    m_cipu->setCipu(std::shared_ptr<const prosody::Cipu>(m_books, &m_books->cipu()));
    followTianzi();
    openJiju();
    return true;
}

// After the books: a search by rhyme group asks them for the group's members.
void GelvWindowModel::openJiju()
{
    std::shared_ptr<const classics::LinePatterns> patterns;
    QString error;
    try {
        patterns = classics::LinePatterns::open(m_classicsPath, m_books);
    } catch (const classics::ClassicsError &e) {
        error = e.message();
    }
    m_jiju->setBooks(m_books);
    m_jiju->setBook(m_forms->book());
    m_jiju->setSources(patterns, m_classics, error);
}

void GelvWindowModel::keepSettings()
{
    if (const std::optional<Book> book = gelvsettings::book())
        m_forms->setBook(int(*book));
    connect(m_forms, &FormChoiceModel::choiceChanged, this,
            [this] { gelvsettings::setBook(m_forms->chosenBook()); });
}

void GelvWindowModel::setDraft(const QString &text, int selectionStart, int selectionEnd)
{
    const auto [from, to] = std::minmax(selectionStart, selectionEnd);
    if (m_own != std::pair(from, to) || text != m_draft) {
        m_own.reset();
        m_check->setDraft(text, from, to);
    }
    m_draft = text;
    setSelection(text.mid(from, to - from));
}

void GelvWindowModel::selectingItself(int start, int end)
{
    m_own = std::minmax(start, end);
}

void GelvWindowModel::setCaret(const QString &text, int caret, bool selecting)
{
    m_caret = caret;
    m_lookup->lookUpAt(text, caret);
    if (!selecting) {
        m_caretText = text;
        m_tianziCaret = caret;
        followTianzi();
        setSelection(QString());
        // A caret at no verse (after a mark, on a blank line) leaves the 对仗 word as it was.
        if (const QString word = CoupletWordsModel::wordAt(text, caret); !word.isEmpty())
            m_couplets->setWord(word);
    }
}

void GelvWindowModel::lookUp(const QString &text)
{
    m_lookup->lookUpTyped(text);
}

void GelvWindowModel::showExamples(const QString &word)
{
    m_word = word;
    showExamplesOf();
}

void GelvWindowModel::showCouplets(const QString &word)
{
    m_couplets->setWord(word);
}

void GelvWindowModel::setSelection(const QString &selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    m_word.clear();
    if (!selected.isEmpty())
        m_couplets->setWord(selected);
    showExamplesOf();
}

// The examples are always of what is selected now, else of the word asked for, else of the
// character looked up: never of a selection that has gone.
void GelvWindowModel::showExamplesOf()
{
    m_examples->setText(!m_selected.isEmpty() ? m_selected
                        : !m_word.isEmpty()   ? m_word
                                              : m_lookup->character());
}

// The 填字 follows the caret through the check of the whole draft, once that check is of the text the
// caret moved in.
void GelvWindowModel::followTianzi()
{
    if (m_tianziCaret < 0 || m_check->checkedFrom() != 0 || m_check->checkedText() != m_caretText)
        return;
    m_tianzi->follow(m_caretText, m_tianziCaret, m_check->checks(), m_check->request());
}

#include "presentation/gelv/gelvwindowmodel.h"

#include "classics/classics.h"
#include "classics/coupletpairs.h"
#include "presentation/gelv/checkmodel.h"
#include "presentation/gelv/coupletwordsmodel.h"
#include "presentation/gelv/examplesmodel.h"
#include "presentation/gelv/formchoicemodel.h"
#include "presentation/gelv/lookupmodel.h"
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
{
    connect(m_forms, &FormChoiceModel::choiceChanged, this,
            [this] { m_check->setChoice(m_forms->book(), m_forms->form()); });
    connect(m_forms, &FormChoiceModel::bookChanged, this, [this] { m_lookup->setBook(m_forms->book()); });
    connect(m_check, &CheckModel::checksChanged, this, [this] {
        m_rows = markedRows(m_check->checks());
        emit rowsChanged();
    });
    connect(m_lookup, &LookupModel::lookupChanged, this, &GelvWindowModel::showLookupExamples);
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
    return true;
}

void GelvWindowModel::setDraft(const QString &text, int selectionStart, int selectionEnd)
{
    m_check->setDraft(text, selectionStart, selectionEnd);
    m_selected = selectionStart != selectionEnd;
    if (m_selected) {
        const auto [from, to] = std::minmax(selectionStart, selectionEnd);
        m_examples->setText(text.mid(from, to - from));
        m_couplets->setWord(text.mid(from, to - from));
    }
}

void GelvWindowModel::setCaret(const QString &text, int caret, bool selecting)
{
    m_selected = selecting;
    m_lookup->lookUpAt(text, caret);
    // A caret at no verse (after a mark, on a blank line) leaves the word as it was.
    if (const QString word = CoupletWordsModel::wordAt(text, caret); !selecting && !word.isEmpty())
        m_couplets->setWord(word);
}

void GelvWindowModel::lookUp(const QString &text)
{
    m_lookup->lookUpTyped(text);
}

void GelvWindowModel::showExamples(const QString &word)
{
    m_examples->setText(word);
}

void GelvWindowModel::showCouplets(const QString &word)
{
    m_couplets->setWord(word);
}

// The character looked up stands for its examples too, unless part of the draft is selected.
void GelvWindowModel::showLookupExamples()
{
    if (m_lookup->lookup() && !m_selected)
        m_examples->setText(m_lookup->character());
}

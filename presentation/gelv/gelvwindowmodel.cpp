#include "presentation/gelv/gelvwindowmodel.h"

#include "classics/classics.h"
#include "presentation/gelv/checkmodel.h"
#include "presentation/gelv/ciformchoice.h"
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
    , m_ciForms(new CiFormChoice(m_forms, m_check, this))
{
    connect(m_forms, &FormChoiceModel::choiceChanged, this,
            [this] { m_check->setChoice(m_forms->book(), m_forms->checkedForm()); });
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
    }
}

void GelvWindowModel::setCaret(const QString &text, int caret, bool selecting)
{
    m_selected = selecting;
    m_lookup->lookUpAt(text, caret);
}

void GelvWindowModel::lookUp(const QString &text)
{
    m_lookup->lookUpTyped(text);
}

void GelvWindowModel::showExamples(const QString &word)
{
    m_examples->setText(word);
}

// The character looked up stands for its examples too, unless part of the draft is selected.
void GelvWindowModel::showLookupExamples()
{
    if (m_lookup->lookup() && !m_selected)
        m_examples->setText(m_lookup->character());
}

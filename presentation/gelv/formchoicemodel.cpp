#include "presentation/gelv/formchoicemodel.h"

#include "prosody/check.h"
#include "prosody/ci/cipu.h"
#include "prosody/couplet/duilian.h"

using namespace prosody;

namespace {
const QStringList kShiForms = {QStringLiteral("自动"),
                               QStringLiteral("五言绝句"),
                               QStringLiteral("七言绝句"),
                               QStringLiteral("五言律诗"),
                               QStringLiteral("七言律诗"),
                               QStringLiteral("排律"),
                               duilianForm};
} // namespace

FormChoiceModel::FormChoiceModel(QObject *parent)
    : QObject(parent)
    , m_form(kShiForms.first())
{
}

void FormChoiceModel::setBooks(std::shared_ptr<const RhymeBooks> books)
{
    m_books = std::move(books);
    emit formNamesChanged();
}

QStringList FormChoiceModel::bookNames()
{
    QStringList names;
    for (Book b : allBooks)
        names << bookName(b);
    return names;
}

QStringList FormChoiceModel::formNames() const
{
    QStringList names = kShiForms;
    if (m_books)
        for (const CiTune &tune : m_books->cipu().tunes())
            names << tune.name;
    return names;
}

QStringList FormChoiceModel::searchTunes(const QString &typed) const
{
    QStringList names;
    if (m_books)
        for (const CiTune *tune : m_books->cipu().search(typed))
            names << tune->name;
    return names;
}

void FormChoiceModel::setBook(int index)
{
    if (index < 0 || index >= int(std::size(allBooks)) || Book(index) == m_book)
        return;
    m_book = m_chosenBook = Book(index);
    emit bookChanged(index);
    emit choiceChanged();
}

void FormChoiceModel::setForm(const QString &name)
{
    const QString form = name.trimmed();
    if (form == m_form)
        return;
    const CiTune *tune = m_books && !formFromName(form) ? m_books->cipu().find(form) : nullptr;
    if (!formFromName(form) && !tune && form != duilianForm)
        return;
    m_form = tune ? tune->name : form;
    const Book book = tune && m_chosenBook == Book::Pingshui ? Book::Cilin : m_chosenBook;
    if (book != m_book) {
        m_book = book;
        emit bookChanged(int(m_book));
    }
    emit choiceChanged();
}

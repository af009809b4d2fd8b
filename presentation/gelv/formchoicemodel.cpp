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
    if (form == m_form && m_variant == 0)
        return;
    const auto [tune, number] = m_books && !formFromName(form) ? tuneAndForm(m_books->cipu(), form)
                                                               : std::pair<const CiTune *, int>();
    if (!formFromName(form) && !tune && form != duilianForm)
        return;
    if ((tune ? tune->name : form) == m_form && number == m_variant)
        return;
    m_form = tune ? tune->name : form;
    m_variant = tune && number > 0 && number <= tune->forms.size() ? number : 0;
    const Book book = tune && m_chosenBook == Book::Pingshui ? Book::Cilin : m_chosenBook;
    if (book != m_book) {
        m_book = book;
        emit bookChanged(int(m_book));
    }
    emit choiceChanged();
}

void FormChoiceModel::setVariant(int number)
{
    const CiTune *chosen = tune();
    const int n = chosen && number > 0 && number <= chosen->forms.size() ? number : 0;
    if (n == m_variant)
        return;
    m_variant = n;
    emit choiceChanged();
}

QString FormChoiceModel::checkedForm() const
{
    return m_variant > 0 ? m_form + u':' + QString::number(m_variant) : m_form;
}

const CiTune *FormChoiceModel::tune() const
{
    return m_books && !formFromName(m_form) ? m_books->cipu().find(m_form) : nullptr;
}

const CiTune *FormChoiceModel::tuneNamed(const QString &name) const
{
    return m_books ? m_books->cipu().find(name) : nullptr;
}

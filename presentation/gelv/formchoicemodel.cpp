// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/formchoicemodel.h"

#include "prosody/ci/cipu.h"
#include "prosody/couplet/duilian.h"
#include "prosody/request/parserequest.h"

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
    static const Cipu none; // before the books are read, no name is a 词牌
    const ParsedRequest parsed = parseRequest(m_books ? m_books->cipu() : none, name);
    if (!parsed.request)
        return;
    const auto *ci = std::get_if<CiFormRef>(&parsed.request->form);
    choose(parsed.request->form, ci ? ci->tune : name.trimmed());
}

void FormChoiceModel::setCiForm(const CiFormRef &form)
{
    const CiTune *tune = m_books ? m_books->cipu().find(form.tune) : nullptr;
    if (tune && form.number >= 0 && form.number <= tune->forms.size())
        choose(CiFormRef{tune->name, form.number}, tune->name);
}

void FormChoiceModel::choose(const FormRequest &asked, const QString &name)
{
    if (asked == m_asked && name == m_form)
        return;
    m_asked = asked;
    m_form = name;
    const bool ci = std::holds_alternative<CiFormRef>(asked);
    const Book book = ci && m_chosenBook == Book::Pingshui ? Book::Cilin : m_chosenBook;
    if (book != m_book) {
        m_book = book;
        emit bookChanged(int(m_book));
    }
    emit choiceChanged();
}

CheckRequest FormChoiceModel::request() const
{
    if (std::holds_alternative<AutoForm>(m_asked) && m_book == Book::Pingshui)
        return {m_asked, std::nullopt};
    return {m_asked, m_book};
}

int FormChoiceModel::variant() const
{
    const auto *ci = std::get_if<CiFormRef>(&m_asked);
    return ci ? ci->number : 0;
}

void FormChoiceModel::setVariant(int number)
{
    const CiTune *chosen = tune();
    auto *ci = std::get_if<CiFormRef>(&m_asked);
    const int n = chosen && number > 0 && number <= chosen->forms.size() ? number : 0;
    if (!ci || n == ci->number)
        return;
    ci->number = n;
    emit choiceChanged();
}

const CiTune *FormChoiceModel::tune() const
{
    const auto *ci = std::get_if<CiFormRef>(&m_asked);
    return m_books && ci ? m_books->cipu().find(ci->tune) : nullptr;
}

const CiTune *FormChoiceModel::tuneNamed(const QString &name) const
{
    return m_books ? m_books->cipu().find(name) : nullptr;
}

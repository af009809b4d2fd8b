// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"
#include "prosody/request/checkrequest.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace prosody {
class RhymeBooks;
struct CiTune;
} // namespace prosody

// The book and the form the draft is checked in: the four rhyme books; 自动, the forms of regulated
// verse, 对联 and every 词牌 of the 词谱 (once the books are read); the search among the 词牌.
class FormChoiceModel : public QObject {
    Q_OBJECT
public:
    explicit FormChoiceModel(QObject *parent = nullptr);

    // The 词谱 comes with the books: its 词牌 join the forms.
    void setBooks(std::shared_ptr<const prosody::RhymeBooks> books);

    static QStringList bookNames();
    // 自动, the forms of regulated verse, 对联, then every 词牌 of the 词谱, the most written first (once
    // the books are read).
    QStringList formNames() const;
    // The 词牌 of the 词谱 whose name or alias is the text, then those that begin with it or hold it.
    QStringList searchTunes(const QString &typed) const;

    prosody::Book book() const { return m_book; }
    // The book the poet chose, which a 词牌 may have put aside for 词林正韵.
    prosody::Book chosenBook() const { return m_chosenBook; }
    // The poet's choice, an index into bookNames(); another changes nothing.
    void setBook(int index);
    // The form's name as the selector shows it: as typed for regulated verse, a 词牌's own name for it
    // or its alias.
    QString form() const { return m_form; }
    // A form as the poet names it (prosody/request/parserequest.h): a form of regulated verse, 对联 or a
    // 词牌 (its name or an alias, or "念奴娇:2" for that 词牌's form 2); a name of no form, or of a form
    // the 词牌 lacks, changes nothing. A 词牌 is judged in 词林正韵: choosing one while 平水韵 is chosen
    // switches the book, and choosing another form afterwards brings back the book the poet chose.
    void setForm(const QString &name);
    // A form of a 词牌 picked from a list (自动's close seconds); one the 词谱 lacks changes nothing.
    void setCiForm(const prosody::CiFormRef &form);
    // The chosen 词牌's form: 0 the one that fits best, 1 正体, 2 … 又一体; always 0 for another choice.
    int variant() const;
    void setVariant(int number);
    // What the check is asked for: the form and the book. In 自动 with 平水韵, the book of 诗 and of no
    // choice, each poem is judged in its kind's own book: a 词 in 词林正韵, as shihai-gelv does.
    prosody::CheckRequest request() const;
    // The chosen 词牌 (null for 自动 and regulated verse).
    const prosody::CiTune *tune() const;
    // The 词牌 of a name or alias, or null (and before the books are read).
    const prosody::CiTune *tuneNamed(const QString &name) const;

signals:
    void formNamesChanged();
    void bookChanged(int index);
    // The book or the form changed, once for both: the draft is checked again.
    void choiceChanged();

private:
    void choose(const prosody::FormRequest &asked, const QString &name);

    std::shared_ptr<const prosody::RhymeBooks> m_books;
    prosody::Book m_book = prosody::Book::Pingshui;
    prosody::Book m_chosenBook = prosody::Book::Pingshui;
    QString m_form;
    prosody::FormRequest m_asked;
};

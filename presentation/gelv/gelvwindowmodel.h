// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/gelv/markedrows.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

namespace prosody {
class RhymeBooks;
}
namespace classics {
class Classics;
}
class CheckModel;
class CoupletWordsModel;
class CiFormChoice;
class CipuBrowserModel;
class ExamplesModel;
class FormChoiceModel;
class JijuModel;
class LookupModel;
class TianziModel;

// The 格律 window without widgets. It reads the rhyme books and opens the classics when the window
// first opens and hands them to the models of its parts, and keeps those in step: the chosen book
// and form rule the check and the lookup, the check gives the marked rows, the 例句 show the
// selected part of the draft, else the character looked up (or a word asked for, until either
// changes), the 对仗 the selected part, else the unit of the rhythm at the caret, the 填字 the place
// of the caret once the check has caught up with the draft, and the 集句 search in the chosen book, by
// the pattern of the line at the caret when asked.
class GelvWindowModel : public QObject {
    Q_OBJECT
public:
    GelvWindowModel(const QString &booksPath, const QString &classicsPath, QObject *parent = nullptr);

    // Opens the classics the first time, and reads the books until they are read; false when the
    // books' file is missing or damaged, and errorText() then says so in one line with the command
    // that builds it.
    bool open();
    bool isLoaded() const { return m_books != nullptr; }
    QString errorText() const { return m_error; }

    // Takes the book the poet chose when the program last ran, and keeps each new choice in the
    // user's settings.
    void keepSettings();

    FormChoiceModel *forms() const { return m_forms; }
    CheckModel *check() const { return m_check; }
    LookupModel *lookup() const { return m_lookup; }
    ExamplesModel *examples() const { return m_examples; }
    CoupletWordsModel *couplets() const { return m_couplets; }
    // The words of the classics for the place at the caret.
    TianziModel *tianzi() const { return m_tianzi; }
    JijuModel *jiju() const { return m_jiju; }
    // The form of a 词牌 chosen, or the 词牌 that fit almost as well in 自动.
    CiFormChoice *ciForms() const { return m_ciForms; }
    // The 调 and 体 of the 词谱 to read, once the books are read.
    CipuBrowserModel *cipu() const { return m_cipu; }
    // What the marked poem shows of the check.
    const QList<MarkedRow> &rows() const { return m_rows; }

    // The draft as the editor holds it, with its selection (UTF-16 offsets).
    void setDraft(const QString &text, int selectionStart, int selectionEnd);
    // The window is about to select part of the draft itself (a finding's character): that selection
    // leaves the check as it is.
    void selectingItself(int start, int end);
    // The caret moved: the character at it is looked up. The editor may say the caret moved before it
    // says the selection went, so it tells whether part of the draft is still selected.
    void setCaret(const QString &text, int caret, bool selecting);
    // Looks up the last character of a text.
    void lookUp(const QString &text);
    // The 例句 of a word, until the selection or the lookup changes.
    void showExamples(const QString &word);
    // The 对仗 of a word, until the selection or the caret changes.
    void showCouplets(const QString &word);

signals:
    void rowsChanged();

private:
    void setSelection(const QString &selected);
    void showExamplesOf();
    void followTianzi();
    void openJiju();

    QString m_booksPath;
    QString m_classicsPath;
    std::shared_ptr<const prosody::RhymeBooks> m_books;
    QString m_error;
    bool m_classicsOpened = false;
    std::shared_ptr<const classics::Classics> m_classics;
    int m_caret = 0; // in the draft
    QString m_draft;
    QString m_selected;                       // the selected part of the draft
    QString m_word;                           // a word whose examples were asked for
    char32_t m_lookedUp = 0;                  // the character the examples last followed
    std::optional<std::pair<int, int>> m_own; // the selection the window made itself, while it stays
    FormChoiceModel *m_forms;
    CheckModel *m_check;
    LookupModel *m_lookup;
    ExamplesModel *m_examples;
    CoupletWordsModel *m_couplets;
    TianziModel *m_tianzi;
    QString m_caretText;    // the draft when the caret last moved without a selection
    int m_tianziCaret = -1; // the caret in it
    JijuModel *m_jiju;
    CiFormChoice *m_ciForms;
    CipuBrowserModel *m_cipu;
    QList<MarkedRow> m_rows;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/check.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

// The check of the draft, or of its selected part, in the chosen book and form: the poems found,
// each finding with the place in the draft it points to, and one summary per poem.
class CheckModel : public QObject {
    Q_OBJECT
public:
    explicit CheckModel(QObject *parent = nullptr);

    // Nothing is checked without the books.
    void setBooks(std::shared_ptr<const prosody::RhymeBooks> books);
    // The pairs of the classics the couplets of a 律诗 and a 对联 are judged by; may be null (not judged).
    void setPairs(std::shared_ptr<const prosody::PairSource> pairs);
    // The form and the book, as the form choice has them (自动 in each kind's own book until then).
    void setRequest(const prosody::CheckRequest &request);

    // The draft and its selection (UTF-16 offsets). A selection holding at least one whole line of
    // verse is checked alone; another, or none, leaves the whole draft checked.
    void setDraft(const QString &text, int selectionStart, int selectionEnd);
    const QList<prosody::PoemCheck> &checks() const { return m_checks; }
    // Where the checked text begins in the draft: the selection's start, or 0.
    int checkedFrom() const { return m_checkedFrom; }
    const QString &checkedText() const { return m_checkedText; }
    const prosody::CheckRequest &request() const { return m_request; }

    struct FindingRow {
        QString text;
        prosody::Severity severity;
        int start; // the characters of the draft it points to
        int length;
    };
    // Faults first, then warnings, then the accepted 拗救; in the order of the draft within each. With
    // more than one poem checked each text begins "第2首：".
    QList<FindingRow> findingRows() const;
    // One per poem: "七言绝句 · 平起首句入韵 · 下平七阳 · 合律", with the book it was judged in when that
    // is not the one shown ("… · 合谱 · 按词林正韵").
    QStringList summaries() const;

signals:
    void checksChanged();

private:
    void recheck();

    std::shared_ptr<const prosody::RhymeBooks> m_books;
    std::shared_ptr<const prosody::PairSource> m_pairs;
    prosody::CheckRequest m_request{prosody::AutoForm{}, std::nullopt};
    int m_checkedFrom = 0;
    QString m_checkedText;
    QList<prosody::PoemCheck> m_checks;
};

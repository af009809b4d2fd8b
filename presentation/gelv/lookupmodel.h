// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/gelv/lookupsource.h"
#include "prosody/core/books.h"
#include "prosody/text/reader.h"

#include <memory>
#include <optional>

class PinyinIndex;
namespace classics {
class Classics;
}

// The lookup of one character: its readings, its groups in the four books, and the characters of
// the chosen group in the chosen book, those most rhymed on in the classics first. A traditional or
// old form (衆, 栁) is looked up as the standard character it stands for, and its readings say which.
class LookupModel : public LookupSource {
    Q_OBJECT
public:
    explicit LookupModel(QObject *parent = nullptr);
    ~LookupModel() override;

    void setBooks(std::shared_ptr<const prosody::RhymeBooks> books);
    // The book whose groups are listed; another book shows its first group.
    void setBook(prosody::Book book);
    // The classics that order the group's characters by use; may be null.
    void setClassics(std::shared_ptr<const classics::Classics> classics);

    // The character the lookup shows: the one before the caret, or after it at the start of a line;
    // 0 when there is none.
    static char32_t characterAt(const QString &text, int caret);
    // Looks up the character at the caret, when there is one.
    void lookUpAt(const QString &text, int caret);
    void setLookup(char32_t hanzi);
    char32_t lookup() const { return m_lookup; }

    QString character() const override;
    QStringList readings() const override;
    QStringList lookupBooks() const override;
    // "上平十四寒"; a 部 of several tones shows one at a time: "第七部（平）".
    QStringList lookupGroups() const override;
    int lookupGroup() const override { return m_lookupGroup; }
    // Each most rhymed on in the classics first (with the count), then in the book's order; count is
    // -1 without the classics.
    QList<Member> commonMembers() const override { return members(true); }
    QList<Member> otherMembers() const override { return members(false); }
    void lookUpTyped(const QString &text) override;
    QStringList typedCandidates() const override { return m_candidates; }
    QString typedNote() const override { return m_note; }
    void setLookupGroup(int index) override;

private:
    struct GroupChoice {
        int group;
        prosody::Tone tone;
        bool byTone; // the group holds several tones: show one
    };
    QList<GroupChoice> groupChoices() const;
    QList<Member> members(bool common) const;
    void lookUpReading(const QString &typed);

    std::shared_ptr<const prosody::RhymeBooks> m_books;
    prosody::Book m_book = prosody::Book::Pingshui;
    std::shared_ptr<const classics::Classics> m_classics;
    char32_t m_lookup = 0;
    std::optional<std::pair<prosody::Line, int>> m_context; // the line of the draft it stands in, and where
    int m_lookupGroup = 0;
    std::unique_ptr<PinyinIndex> m_pinyin; // made when pinyin is first typed
    QStringList m_candidates;
    QString m_note;
};

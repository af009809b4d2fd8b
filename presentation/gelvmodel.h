#pragma once

#include "classics/classics.h"
#include "prosody/check.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

// What the 格律 window shows, without widgets: the check of the draft (or of its selected part) in
// the chosen book and form, each finding with the place in the draft it points to, and the lookup
// of one character in the four books with the characters of its group.
class GelvModel : public QObject {
    Q_OBJECT
public:
    explicit GelvModel(const QString &booksPath, QObject *parent = nullptr);

    // Reads the rhyme books the first time it is called; false when the file is missing or damaged,
    // and errorText() then says so in one line with the command that builds it.
    bool load();
    bool isLoaded() const { return m_books != nullptr; }
    QString errorText() const { return m_error; }

    static QStringList bookNames();
    // 自动, the forms of regulated verse, then every 词牌 of the 词谱, the most written first (once the
    // books are read).
    QStringList formNames() const;
    // The 词牌 of the 词谱 whose name or alias is the text, then those that begin with it or hold it.
    QStringList searchTunes(const QString &typed) const;
    int book() const { return int(m_book); }
    void setBook(int index);
    QString form() const { return m_formName; }
    // A form of regulated verse or a 词牌 (its name or an alias); another name changes nothing. A
    // 词牌 is judged in 词林正韵: choosing one while 平水韵 is chosen switches the book.
    void setForm(const QString &name);

    // The draft and its selection (UTF-16 offsets; an empty selection checks the whole draft).
    void setDraft(const QString &text, int selectionStart, int selectionEnd);
    const QList<prosody::PoemCheck> &checks() const { return m_checks; }
    // Where the checked text begins in the draft: the selection's start, or 0.
    int checkedFrom() const { return m_checkedFrom; }

    struct FindingRow {
        QString text;
        prosody::Severity severity;
        int start; // the characters of the draft it points to
        int length;
    };
    // Faults first, then warnings, then the accepted 拗救; in the order of the draft within each.
    QList<FindingRow> findingRows() const;
    // One per poem: "七言绝句 · 平起首句入韵 · 下平七阳 · 合律".
    QStringList summaries() const;

    // The character the lookup shows: the one before the caret, or after it at the start of a line;
    // 0 when there is none.
    static char32_t characterAt(const QString &text, int caret);
    void setLookup(char32_t hanzi);
    char32_t lookup() const { return m_lookup; }
    QStringList readings() const;
    // One line per book: "平水韵　上平十四寒（平）、去声十五翰（去）· 中".
    QStringList lookupBooks() const;
    // The groups of the character in the chosen book ("上平十四寒", "第七部（平）"), and the chosen one.
    QStringList lookupGroups() const;
    int lookupGroup() const { return m_lookupGroup; }
    void setLookupGroup(int index);
    // The characters of the chosen group: the common ones (level 1) and the rest, each most rhymed on
    // in the classics first (with the count), then in the book's order; count is -1 without the
    // classics.
    struct Member {
        QString hanzi;
        int count;
        bool operator==(const Member &) const = default;
        // What a character's tip says of its use; empty without a count.
        QString toolTip() const;
    };
    QList<Member> commonMembers() const { return members(true); }
    QList<Member> otherMembers() const { return members(false); }
    // The classics that order the group's characters by use; may be null.
    void setClassics(std::shared_ptr<const classics::Classics> classics);

signals:
    void checksChanged();
    void bookChanged(int index);
    void lookupChanged();

private:
    struct GroupChoice {
        int group;
        prosody::Tone tone;
        bool byTone; // the group holds several tones: show one
    };
    void recheck();
    QList<GroupChoice> groupChoices() const;
    QList<Member> members(bool common) const;

    QString m_path;
    std::shared_ptr<const prosody::RhymeBooks> m_books;
    QString m_error;
    prosody::Book m_book = prosody::Book::Pingshui;
    QString m_formName;
    QString m_text;
    int m_checkedFrom = 0;
    QString m_checkedText;
    QList<prosody::PoemCheck> m_checks;
    std::shared_ptr<const classics::Classics> m_classics;
    char32_t m_lookup = 0;
    int m_lookupGroup = 0;
};

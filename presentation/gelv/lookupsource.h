// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// What the 查韵 tab shows of a character and what a user does there, apart from where it comes from:
// the tab takes a LookupSource, so its test can hand it a stub.
class LookupSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // A character of the chosen group and how often the classics rhyme on it (-1 unknown).
    struct Member {
        QString hanzi;
        int count;
        bool operator==(const Member &) const = default;
        // What a character's tip says of its use; empty without a count.
        QString toolTip() const
        {
            return count >= 0 ? QStringLiteral("全唐诗、宋词的近体诗押此字 %1 次").arg(count) : QString();
        }
    };

    // The character looked up; empty when there is none.
    virtual QString character() const = 0;
    virtual QStringList readings() const = 0;
    // One line per book: "平水韵：上平十四寒（平）、去声十五翰（去）　中".
    virtual QStringList lookupBooks() const = 0;
    // The groups of the character in the chosen book, and the one shown.
    virtual QStringList lookupGroups() const = 0;
    virtual int lookupGroup() const = 0;
    // The characters of the group shown: the common ones, then the rest.
    virtual QList<Member> commonMembers() const = 0;
    virtual QList<Member> otherMembers() const = 0;

    // The text typed into the lookup: its last character is looked up. Pinyin typed there lists the
    // characters of that reading to pick from, and anything else is said not to be a character.
    virtual void lookUpTyped(const QString &text) = 0;
    // What was typed when it was no character: the characters of the reading typed, and one line
    // about them or about why there are none. Empty while a character is looked up.
    virtual QStringList typedCandidates() const = 0;
    virtual QString typedNote() const = 0;
    virtual void setLookupGroup(int index) = 0;

signals:
    void lookupChanged();
};

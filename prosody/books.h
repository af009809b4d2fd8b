#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

#include <memory>
#include <optional>
#include <stdexcept>

namespace prosody {

class Cipu;

// The four rhyme books, in the order the program offers them.
enum class Book { Pingshui, Cilin, Xinyun, Tongyun };
inline constexpr Book allBooks[] = {Book::Pingshui, Book::Cilin, Book::Xinyun, Book::Tongyun};
QString bookName(Book book);
std::optional<Book> bookFromName(const QString &name);
inline bool isModern(Book book)
{
    return book == Book::Xinyun || book == Book::Tongyun;
}

// The 平仄 class of a character: both classes (中) are accepted either way; Unknown has no reading.
enum class ToneClass : quint8 { Ping, Ze, Both, Unknown };
QChar className(ToneClass c); // 平 仄 中 ？
QChar classMark(ToneClass c); // ○ ● ◎ ？

// The tone of a reading in a group: 平, 上, 去 or 入.
enum class Tone : quint8 { Ping, Shang, Qu, Ru };
QChar toneName(Tone tone);
inline ToneClass classOf(Tone tone)
{
    return tone == Tone::Ping ? ToneClass::Ping : ToneClass::Ze;
}

// Raised when the reference file is missing, damaged or of another kind; what() is one line for
// the user, in Chinese, naming the command that builds the file.
class LoadError : public std::runtime_error {
public:
    explicit LoadError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
    QString message() const { return QString::fromUtf8(what()); }
};

// The rhyme books of date/rhymebooks.db, held in memory: every character's groups and tones in
// each book. Read once; lookups do not touch the file.
class RhymeBooks {
public:
    struct Group {
        QString name;
        int order = 0;         // place in the book
        QList<Tone> tones;     // the tones the group has (词林正韵 部 hold several)
        QList<int> neighbours; // groups a first line may borrow from (孤雁出群)
    };
    struct Membership {
        quint16 group;
        Tone tone;
    };
    using Memberships = QVarLengthArray<Membership, 2>;
    struct Member {
        char32_t hanzi;
        Tone tone;
        quint8 level; // 1 to 3 in the 通用规范汉字表, 0 outside it
    };
    // A character with no group in a classical book, and what its class rests on.
    struct Ungrouped {
        Tone tone;
        QString basis; // 今读 or 粤音入声
    };

    // Throws LoadError.
    static std::shared_ptr<const RhymeBooks> load(const QString &path);

    const QList<Group> &groups(Book book) const { return m_books[int(book)].groups; }
    Memberships memberships(Book book, char32_t hanzi) const;
    QList<Member> members(Book book, int group) const;
    std::optional<Ungrouped> ungrouped(Book book, char32_t hanzi) const;
    // The class of a character from all its readings in the book, without looking at its word.
    ToneClass toneClass(Book book, char32_t hanzi) const;
    // Modern readings with tone marks.
    QStringList readings(char32_t hanzi) const { return m_readings.value(hanzi); }
    // The reading of a word that holds a character of both classes ("cháng ān"); empty when the
    // word is not known. Looked up in the file on first use of each word, then remembered.
    QString wordReading(const QString &word) const;
    // The 词谱 read from the same file: the 词牌, their forms and patterns (empty for an older file).
    const Cipu &cipu() const { return *m_cipu; }
    QString path() const { return m_path; }
    QString dataVersion() const { return m_version; }

private:
    struct BookData {
        QList<Group> groups;
        QHash<char32_t, Memberships> chars;
        QList<QList<Member>> members; // per group, in the book's order of characters
        QHash<char32_t, Ungrouped> ungrouped;
    };
    struct WordList;

    QString m_path;
    QString m_version;
    BookData m_books[4];
    QHash<char32_t, QStringList> m_readings;
    std::shared_ptr<WordList> m_words;
    std::shared_ptr<const Cipu> m_cipu;
};

// The class of one modern reading ("cháng" 平, "zhǎng" 仄); Unknown for a neutral tone.
ToneClass modernClass(const QString &marked);

} // namespace prosody

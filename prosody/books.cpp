#include "prosody/books.h"

#include "prosody/cipu.h"

#include "db/dberror.h"
#include "db/rhymebookschema.h"
#include "db/sqlite.h"

#include <QFileInfo>

#include <algorithm>
#include <mutex>
#include <numeric>

#include <sqlite3.h>

namespace prosody {

struct Closer {
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};

namespace {

const QString kBuildHint =
    QStringLiteral("请运行 bash setup.sh run，或 build/tools/shihai-builddb --rhymebooks %1 生成。");

QByteArrayView columnBytes(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return QByteArrayView(text, sqlite3_column_bytes(stmt, column));
}

// The one character of a column, decoded straight from its UTF-8 bytes.
char32_t columnChar(sqlite3_stmt *stmt, int column)
{
    const QByteArrayView b = columnBytes(stmt, column);
    const auto byte = [&](qsizetype i) { return char32_t(quint8(b[i])); };
    if (b.size() == 1)
        return byte(0);
    if (b.size() == 2)
        return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    if (b.size() == 3)
        return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    if (b.size() == 4)
        return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
    return 0;
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    const QByteArrayView b = columnBytes(stmt, column);
    return QString::fromUtf8(b.data(), b.size());
}

std::optional<Tone> toneOf(QByteArrayView utf8)
{
    static const QByteArray names[] = {QByteArrayLiteral("平"), QByteArrayLiteral("上"),
                                       QByteArrayLiteral("去"), QByteArrayLiteral("入")};
    for (int t = 0; t < 4; ++t)
        if (utf8 == names[t])
            return Tone(t);
    return std::nullopt;
}

// Runs a statement and hands each row to visit.
template <typename Visit> void eachRow(sqlite3 *db, const char *sql, Visit visit)
{
    Statement stmt(db, QByteArray(sql));
    while (stmt.step())
        visit(stmt.handle());
}

// Members of a group in the order of their places (次), whatever the order the file gave them in.
void sortMembers(QList<RhymeBooks::Member> &members, const QList<int> &places)
{
    if (std::is_sorted(places.begin(), places.end()))
        return;
    QList<qsizetype> order(places.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return places[a] < places[b]; });
    QList<RhymeBooks::Member> sorted;
    sorted.reserve(members.size());
    for (qsizetype i : order)
        sorted.append(members.at(i));
    members = sorted;
}

} // namespace

// The words of 词音, looked up through the file's own index as they are asked for.
struct RhymeBooks::WordList {
    std::mutex mutex;
    std::unique_ptr<sqlite3, Closer> db;
    std::unique_ptr<Statement> lookup;
    QHash<QString, QString> known; // words asked for so far, found or not
};

QString bookName(Book book)
{
    switch (book) {
    case Book::Pingshui:
        return QStringLiteral("平水韵");
    case Book::Cilin:
        return QStringLiteral("词林正韵");
    case Book::Xinyun:
        return QStringLiteral("中华新韵");
    case Book::Tongyun:
        break;
    }
    return QStringLiteral("中华通韵");
}

std::optional<Book> bookFromName(const QString &name)
{
    for (Book b : allBooks)
        if (bookName(b) == name)
            return b;
    return std::nullopt;
}

QChar className(ToneClass c)
{
    switch (c) {
    case ToneClass::Ping:
        return u'平';
    case ToneClass::Ze:
        return u'仄';
    case ToneClass::Both:
        return u'中';
    case ToneClass::Unknown:
        break;
    }
    return u'？';
}

QChar classMark(ToneClass c)
{
    switch (c) {
    case ToneClass::Ping:
        return u'○';
    case ToneClass::Ze:
        return u'●';
    case ToneClass::Both:
        return u'◎';
    case ToneClass::Unknown:
        break;
    }
    return u'？';
}

QChar toneName(Tone tone)
{
    switch (tone) {
    case Tone::Ping:
        return u'平';
    case Tone::Shang:
        return u'上';
    case Tone::Qu:
        return u'去';
    case Tone::Ru:
        break;
    }
    return u'入';
}

ToneClass modernClass(const QString &marked)
{
    for (QChar c : marked.normalized(QString::NormalizationForm_D)) {
        if (c == u'\u0304' || c == u'\u0301')
            return ToneClass::Ping;
        if (c == u'\u030C' || c == u'\u0300')
            return ToneClass::Ze;
    }
    return ToneClass::Unknown;
}

std::shared_ptr<const RhymeBooks> RhymeBooks::load(const QString &path)
{
    const QString hint = kBuildHint.arg(rhymebookschema::defaultPath);
    if (!QFileInfo(path).isFile())
        throw LoadError(QStringLiteral("找不到韵书文件 %1，无法检查格律。").arg(path) + hint);
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<sqlite3, Closer> db(raw);
    if (rc != SQLITE_OK)
        throw LoadError(QStringLiteral("韵书文件 %1 打不开（%2），无法检查格律。")
                            .arg(path, QString::fromUtf8(sqlite3_errmsg(raw))) +
                        hint);

    // Mapped rather than read page by page: the whole file is scanned once.
    sqlite3_exec(db.get(), "PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr);
    auto books = std::make_shared<RhymeBooks>();
    books->m_path = path;
    books->m_words = std::make_shared<WordList>();
    try {
        Statement version(db.get(), QByteArrayLiteral("SELECT 值 FROM 版本 WHERE 键 = ?1"));
        version.bindText(1, rhymebookschema::versionKey);
        if (version.step())
            books->m_version = columnText(version.handle(), 0);

        // Groups first, so that characters can find theirs by name.
        QHash<QByteArray, int> groupIndex[4];
        eachRow(db.get(), "SELECT 书, 部, 序, 声 FROM 韵部 ORDER BY 书, 序, rowid", [&](sqlite3_stmt *s) {
            const std::optional<Book> book = bookFromName(columnText(s, 0));
            const std::optional<Tone> tone = toneOf(columnBytes(s, 3));
            if (!book || !tone)
                return;
            BookData &data = books->m_books[int(*book)];
            const QByteArray name = columnBytes(s, 1).toByteArray();
            auto it = groupIndex[int(*book)].constFind(name);
            if (it == groupIndex[int(*book)].constEnd()) {
                it = groupIndex[int(*book)].insert(name, int(data.groups.size()));
                data.groups.append({QString::fromUtf8(name), sqlite3_column_int(s, 2), {}, {}});
                data.members.append(QList<Member>());
            }
            data.groups[*it].tones.append(*tone);
        });

        // Rows come sorted by book and group: the group is looked up only when it changes.
        QByteArray lastBook, lastGroup;
        int book = -1, group = -1;
        // In the order of the file, which the builder writes by book and group.
        QList<QList<int>> places[4]; // 次 of each member, to put the groups in order afterwards
        eachRow(db.get(), "SELECT 书, 部, 字, 声, 级, 次 FROM 韵字", [&](sqlite3_stmt *s) {
            if (columnBytes(s, 0) != lastBook) {
                lastBook = columnBytes(s, 0).toByteArray();
                const std::optional<Book> b = bookFromName(QString::fromUtf8(lastBook));
                book = b ? int(*b) : -1;
                lastGroup.clear();
            }
            if (columnBytes(s, 1) != lastGroup) {
                lastGroup = columnBytes(s, 1).toByteArray();
                group = book < 0 ? -1 : groupIndex[book].value(lastGroup, -1);
            }
            const std::optional<Tone> tone = toneOf(columnBytes(s, 3));
            const char32_t hanzi = columnChar(s, 2);
            if (group < 0 || !tone || hanzi == 0)
                return;
            BookData &data = books->m_books[book];
            data.chars[hanzi].append({quint16(group), *tone});
            data.members[group].append({hanzi, *tone, quint8(sqlite3_column_int(s, 4))});
            if (places[book].size() <= group)
                places[book].resize(group + 1);
            places[book][group].append(sqlite3_column_int(s, 5));
        });
        for (int b = 0; b < 4; ++b)
            for (qsizetype g = 0; g < places[b].size(); ++g)
                sortMembers(books->m_books[b].members[g], places[b][g]);

        eachRow(db.get(), "SELECT 书, 字, 声, 据 FROM 无部字", [&](sqlite3_stmt *s) {
            const std::optional<Book> b = bookFromName(columnText(s, 0));
            const std::optional<Tone> tone = toneOf(columnBytes(s, 2));
            if (b && tone)
                books->m_books[int(*b)].ungrouped.insert(columnChar(s, 1), {*tone, columnText(s, 3)});
        });

        eachRow(db.get(), "SELECT 书, 部, 邻部 FROM 邻韵", [&](sqlite3_stmt *s) {
            const std::optional<Book> b = bookFromName(columnText(s, 0));
            if (!b)
                return;
            const int g = groupIndex[int(*b)].value(columnBytes(s, 1).toByteArray(), -1);
            const int n = groupIndex[int(*b)].value(columnBytes(s, 2).toByteArray(), -1);
            if (g >= 0 && n >= 0)
                books->m_books[int(*b)].groups[g].neighbours.append(n);
        });

        eachRow(db.get(), "SELECT 字, 拼音 FROM 读音 ORDER BY rowid",
                [&](sqlite3_stmt *s) { books->m_readings[columnChar(s, 0)].append(columnText(s, 1)); });
        books->m_cipu = Cipu::read(db.get());
    } catch (const DbError &e) {
        throw LoadError(
            QStringLiteral("韵书文件 %1 已损坏或不是韵书文件（%2），无法检查格律。").arg(path, e.message()) +
            hint);
    }
    if (books->m_books[int(Book::Pingshui)].chars.isEmpty())
        throw LoadError(QStringLiteral("韵书文件 %1 中没有韵字，无法检查格律。").arg(path) + hint);
    try {
        books->m_words->lookup =
            std::make_unique<Statement>(db.get(), QByteArrayLiteral("SELECT 拼音 FROM 词音 WHERE 词 = ?1"));
        books->m_words->db = std::move(db);
    } catch (const DbError &) {
        // Without the word list, polyphones stay 中 in the modern books.
    }
    return books;
}

RhymeBooks::Memberships RhymeBooks::memberships(Book book, char32_t hanzi) const
{
    return m_books[int(book)].chars.value(hanzi);
}

QList<RhymeBooks::Member> RhymeBooks::members(Book book, int group) const
{
    return m_books[int(book)].members.value(group);
}

std::optional<RhymeBooks::Ungrouped> RhymeBooks::ungrouped(Book book, char32_t hanzi) const
{
    const auto it = m_books[int(book)].ungrouped.constFind(hanzi);
    if (it == m_books[int(book)].ungrouped.constEnd())
        return std::nullopt;
    return *it;
}

ToneClass RhymeBooks::toneClass(Book book, char32_t hanzi) const
{
    const BookData &data = m_books[int(book)];
    bool level = false, oblique = false;
    if (const auto it = data.chars.constFind(hanzi); it != data.chars.constEnd()) {
        for (const Membership &m : *it)
            (m.tone == Tone::Ping ? level : oblique) = true;
    } else if (const auto u = data.ungrouped.constFind(hanzi); u != data.ungrouped.constEnd()) {
        (u->tone == Tone::Ping ? level : oblique) = true;
    }
    if (level && oblique)
        return ToneClass::Both;
    return level ? ToneClass::Ping : oblique ? ToneClass::Ze : ToneClass::Unknown;
}

QString RhymeBooks::wordReading(const QString &word) const
{
    const std::lock_guard lock(m_words->mutex);
    const auto it = m_words->known.constFind(word);
    if (it != m_words->known.constEnd())
        return *it;
    QString reading;
    if (m_words->lookup) {
        try {
            m_words->lookup->bindText(1, word);
            if (m_words->lookup->step())
                reading = columnText(m_words->lookup->handle(), 0);
            m_words->lookup->reset();
        } catch (const DbError &) {
            m_words->lookup.reset(); // a file gone bad since: polyphones stay 中
        }
    }
    m_words->known.insert(word, reading);
    return reading;
}

} // namespace prosody

// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/core/referencefile.h"

#include "prosody/ci/cipufile.h"
#include "prosody/reading/wordreadings.h"

#include "db/dberror.h"
#include "db/rhymebookschema.h"
#include "db/sqlite.h"

#include <QFileInfo>

#include <algorithm>
#include <numeric>

namespace prosody {

namespace {

const QString kBuildHint =
    QStringLiteral("请运行 bash setup.sh run，或 build/tools/shihai-builddb --rhymebooks %1 生成。");

std::optional<Tone> toneOf(QByteArrayView utf8)
{
    static const QByteArray names[] = {QByteArrayLiteral("平"), QByteArrayLiteral("上"),
                                       QByteArrayLiteral("去"), QByteArrayLiteral("入")};
    for (int t = 0; t < 4; ++t)
        if (utf8 == names[t])
            return Tone(t);
    return std::nullopt;
}

// Runs a statement and hands it to visit at each row.
template <typename Visit> void eachRow(const SqliteFile &file, const char *sql, Visit visit)
{
    Statement stmt(file, QByteArray(sql));
    while (stmt.step())
        visit(stmt);
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

using Books = std::array<RhymeBooks::BookData, 4>;
using GroupIndex = std::array<QHash<QByteArray, int>, 4>;

// Groups first, so that characters can find theirs by name.
void readGroups(const SqliteFile &file, Books &books, GroupIndex &index)
{
    eachRow(file, "SELECT 书, 部, 序, 声 FROM 韵部 ORDER BY 书, 序, rowid", [&](const Statement &s) {
        const std::optional<Book> book = bookFromName(s.text(0));
        const std::optional<Tone> tone = toneOf(s.bytes(3));
        if (!book || !tone)
            return;
        RhymeBooks::BookData &data = books[int(*book)];
        const QByteArray name = s.bytes(1).toByteArray();
        auto it = index[int(*book)].constFind(name);
        if (it == index[int(*book)].constEnd()) {
            it = index[int(*book)].insert(name, int(data.groups.size()));
            data.groups.append({QString::fromUtf8(name), s.int32(2), {}, {}});
            data.members.append(QList<RhymeBooks::Member>());
        }
        data.groups[*it].tones.append(*tone);
    });
}

void readMembers(const SqliteFile &file, Books &books, const GroupIndex &index)
{
    // Rows come sorted by book and group: the group is looked up only when it changes.
    QByteArray lastBook, lastGroup;
    int book = -1, group = -1;
    std::array<QList<QList<int>>, 4> places; // 次 of each member, to put the groups in order afterwards
    eachRow(file, "SELECT 书, 部, 字, 声, 级, 次 FROM 韵字", [&](const Statement &s) {
        if (s.bytes(0) != lastBook) {
            lastBook = s.bytes(0).toByteArray();
            const std::optional<Book> b = bookFromName(QString::fromUtf8(lastBook));
            book = b ? int(*b) : -1;
            lastGroup.clear();
        }
        if (s.bytes(1) != lastGroup) {
            lastGroup = s.bytes(1).toByteArray();
            group = book < 0 ? -1 : index[book].value(lastGroup, -1);
        }
        const std::optional<Tone> tone = toneOf(s.bytes(3));
        const char32_t hanzi = s.character(2);
        if (group < 0 || !tone || hanzi == 0)
            return;
        RhymeBooks::BookData &data = books[book];
        data.chars[hanzi].append({quint16(group), *tone});
        data.members[group].append({hanzi, *tone, quint8(s.int32(4))});
        if (places[book].size() <= group)
            places[book].resize(group + 1);
        places[book][group].append(s.int32(5));
    });
    for (int b = 0; b < 4; ++b)
        for (qsizetype g = 0; g < places[b].size(); ++g)
            sortMembers(books[b].members[g], places[b][g]);
}

// 兼体: a character a converted text writes for another rhymes, in the tones it has, also where
// that one does (徵 in 庚 as 征). Absent from files built before the table was kept.
void readAlsoFor(const SqliteFile &file, Books &books)
{
    Statement exists(file, QByteArrayLiteral("SELECT 1 FROM sqlite_schema WHERE name = '兼体'"));
    if (!exists.step())
        return;
    eachRow(file, "SELECT 字, 正字 FROM 兼体", [&](const Statement &s) {
        const char32_t written = s.character(0), meant = s.character(1);
        for (RhymeBooks::BookData &data : books) {
            const RhymeBooks::Memberships own = data.chars.value(written), other = data.chars.value(meant);
            RhymeBooks::Memberships extra;
            for (const RhymeBooks::Membership &m : other) {
                const auto has = [&](auto pred) { return std::any_of(own.begin(), own.end(), pred); };
                if (has([&](const auto &o) { return o.tone == m.tone; }) &&
                    !has([&](const auto &o) { return o.group == m.group && o.tone == m.tone; }))
                    extra.append(m);
            }
            if (!extra.isEmpty())
                data.alsoFor.insert(written, extra);
        }
    });
}

void readRest(const SqliteFile &file, Books &books, const GroupIndex &index, RhymeBooks::Extras &extras)
{
    Statement version(file, QByteArrayLiteral("SELECT 值 FROM 版本 WHERE 键 = ?1"));
    version.bindText(1, rhymebookschema::versionKey);
    if (version.step())
        extras.version = version.text(0);

    eachRow(file, "SELECT 书, 字, 声, 据 FROM 无部字", [&](const Statement &s) {
        const std::optional<Book> b = bookFromName(s.text(0));
        const std::optional<Tone> tone = toneOf(s.bytes(2));
        if (b && tone)
            books[int(*b)].ungrouped.insert(s.character(1), {*tone, s.text(3)});
    });
    eachRow(file, "SELECT 书, 部, 邻部 FROM 邻韵", [&](const Statement &s) {
        const std::optional<Book> b = bookFromName(s.text(0));
        if (!b)
            return;
        const int g = index[int(*b)].value(s.bytes(1).toByteArray(), -1);
        const int n = index[int(*b)].value(s.bytes(2).toByteArray(), -1);
        if (g >= 0 && n >= 0)
            books[int(*b)].groups[g].neighbours.append(n);
    });
    eachRow(file, "SELECT 字, 拼音 FROM 读音 ORDER BY rowid",
            [&](const Statement &s) { extras.readings[s.character(0)].append(s.text(1)); });
    readAlsoFor(file, books);
    extras.cipu = readCipu(file);
    extras.variants = Variants::read(file);
}

} // namespace

std::shared_ptr<const RhymeBooks> loadRhymeBooks(const QString &path)
{
    const QString hint = kBuildHint.arg(rhymebookschema::defaultPath);
    if (!QFileInfo(path).isFile())
        throw LoadError(QStringLiteral("找不到韵书文件 %1，无法检查格律。").arg(path) + hint);
    std::unique_ptr<SqliteFile> file;
    try {
        file = std::make_unique<SqliteFile>(path, SqliteFile::Mode::ReadOnlyOneThread);
    } catch (const DbError &e) {
        throw LoadError(QStringLiteral("韵书文件 %1 打不开（%2），无法检查格律。").arg(path, e.message()) +
                        hint);
    }
    Books books;
    RhymeBooks::Extras extras;
    extras.path = path;
    try {
        // Mapped rather than read page by page: the whole file is scanned once.
        file->exec(QByteArrayLiteral("PRAGMA mmap_size = 268435456"));
        GroupIndex index;
        readGroups(*file, books, index);
        readMembers(*file, books, index);
        readRest(*file, books, index, extras);
    } catch (const DbError &e) {
        throw LoadError(
            QStringLiteral("韵书文件 %1 已损坏或不是韵书文件（%2），无法检查格律。").arg(path, e.message()) +
            hint);
    }
    if (books[int(Book::Pingshui)].chars.isEmpty())
        throw LoadError(QStringLiteral("韵书文件 %1 中没有韵字，无法检查格律。").arg(path) + hint);
    extras.words = std::make_shared<WordReadings>(std::move(file));
    return std::make_shared<RhymeBooks>(std::move(books), std::move(extras));
}

} // namespace prosody

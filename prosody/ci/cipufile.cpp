// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/ci/cipufile.h"

#include "prosody/ci/evidence.h"

#include "db/rhymebookschema.h"
#include "db/sqlite.h"

#include <algorithm>
#include <functional>

namespace prosody {

namespace {

ToneClass classOfName(QByteArrayView name)
{
    static const QByteArray ping = QByteArrayLiteral("平"), ze = QByteArrayLiteral("仄");
    return name == ping ? ToneClass::Ping : name == ze ? ToneClass::Ze : ToneClass::Both;
}

bool hasTable(const SqliteFile &db, const QString &table)
{
    Statement stmt(db, QByteArrayLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1"));
    stmt.bindText(1, table);
    return stmt.step();
}

// A column added by a later data version; an older file lacks it.
bool hasColumn(const SqliteFile &db, const QString &table, const QString &column)
{
    Statement stmt(db, QByteArrayLiteral("SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2"));
    stmt.bindText(1, table);
    stmt.bindText(2, column);
    return stmt.step();
}

QHash<std::pair<int, int>, Cipu::SharedRhyme> readSharedRhymes(const SqliteFile &db)
{
    QHash<std::pair<int, int>, Cipu::SharedRhyme> out;
    if (!hasTable(db, rhymebookschema::tableSharedRhymes))
        return out;
    Statement stmt(db, QByteArrayLiteral("SELECT 部, 邻部, 首数, 部首数 FROM 通押"));
    while (stmt.step()) {
        const int a = sectionNumber(stmt.text(0)), b = sectionNumber(stmt.text(1));
        if (a > 0 && b > 0)
            out.insert({a, b}, {stmt.int32(2), stmt.int32(3)});
    }
    return out;
}

QList<CiTune> readTunes(const SqliteFile &db, QHash<QString, int> &byName)
{
    QList<CiTune> tunes;
    const bool book = hasColumn(db, rhymebookschema::tableTunes, QStringLiteral("谱名"));
    Statement stmt(db,
                   book ? QByteArrayLiteral("SELECT 牌, 序, 首数, 谱名, 卷, 谱序, 源注 FROM 词牌 ORDER BY 序")
                        : QByteArrayLiteral("SELECT 牌, 序, 首数, '', 0, 0, '' FROM 词牌 ORDER BY 序"));
    while (stmt.step()) {
        CiTune tune;
        tune.name = stmt.text(0);
        tune.rank = stmt.int32(1);
        tune.poems = stmt.int32(2);
        tune.bookName = stmt.text(3);
        tune.juan = stmt.int32(4);
        tune.bookOrder = stmt.int32(5);
        tune.origin = stmt.text(6);
        byName.insert(tune.name, int(tunes.size()));
        tunes.append(tune);
    }
    // Aliases by use.
    Statement aliases(
        db, QByteArrayLiteral("SELECT 名, 牌, 首数 FROM 词牌名 WHERE 名 <> 牌 ORDER BY 首数 DESC, 名"));
    while (aliases.step()) {
        const int tune = byName.value(aliases.text(1), -1);
        if (tune >= 0) {
            tunes[tune].aliases << aliases.text(0);
            tunes[tune].aliasPoems << aliases.int32(2);
        }
    }
    return tunes;
}

// (tune, 体) → the form's place: (tune, index in its forms).
using FormIndex = QHash<std::pair<int, int>, std::pair<int, int>>;

CiSource sourceOfName(const QString &name)
{
    return name == rhymebookschema::sourceBook   ? CiSource::Book
           : name == rhymebookschema::sourceBoth ? CiSource::Both
                                                 : CiSource::Corpus;
}

QList<int> numbersOf(const QString &list, int minus = 0)
{
    QList<int> out;
    for (const QString &n : list.split(u',', Qt::SkipEmptyParts))
        out << n.toInt() - minus;
    return out;
}

void readForms(const SqliteFile &db, QList<CiTune> &tunes, const QHash<QString, int> &byName,
               FormIndex &formAt)
{
    const bool authors = hasColumn(db, rhymebookschema::tableCiForms, QStringLiteral("家"));
    const bool book = hasColumn(db, rhymebookschema::tableCiForms, QStringLiteral("源"));
    Statement stmt(
        db, book ? QByteArrayLiteral("SELECT 牌, 体, 首数, 分片, 韵式, 例, 家, 源, 谱序, 作者, 卷, 注, "
                                     "谱例, 可校, 分段 FROM 词体 ORDER BY 牌, 体")
            : authors ? QByteArrayLiteral("SELECT 牌, 体, 首数, 分片, 韵式, 例, 家, '', 0, '', 0, '', '', "
                                          "0, '' FROM 词体 ORDER BY 牌, 体")
                      : QByteArrayLiteral("SELECT 牌, 体, 首数, 分片, 韵式, 例, 0, '', 0, '', 0, '', '', "
                                          "0, '' FROM 词体 ORDER BY 牌, 体"));
    while (stmt.step()) {
        const int tune = byName.value(stmt.text(0), -1);
        if (tune < 0)
            continue;
        CiForm form;
        form.tune = tunes[tune].name;
        form.number = stmt.int32(1);
        form.poems = stmt.int32(2);
        form.stanzaBreak = std::max(0, stmt.int32(3) - 1);
        form.scheme = stmt.text(4);
        form.example = stmt.text(5);
        form.authors = stmt.int32(6);
        form.source = sourceOfName(stmt.text(7));
        form.bookNumber = stmt.int32(8);
        form.author = stmt.text(9);
        form.juan = stmt.int32(10);
        form.note = stmt.text(11);
        form.bookText = stmt.text(12);
        form.stanzaStarts = numbersOf(stmt.text(14), 1);
        form.tier = tierOf(form.source, form.poems, stmt.int32(13) != 0);
        formAt.insert({tune, form.number}, {tune, int(tunes[tune].forms.size())});
        tunes[tune].forms.append(form);
    }
}

ToneClass bookClass(QChar c)
{
    return c == u'平'   ? ToneClass::Ping
           : c == u'仄' ? ToneClass::Ze
           : c == u'中' ? ToneClass::Both
                        : ToneClass::Unknown;
}

// The book's class at position i of 词句.谱 as stored (UTF-8, three bytes a character), read without
// decoding the text: the lines are many.
ToneClass bookClassAt(QByteArrayView utf8, qsizetype i)
{
    if (3 * i + 3 > utf8.size())
        return ToneClass::Unknown;
    const QByteArrayView c = utf8.sliced(3 * i, 3);
    return c == QByteArrayView("\xE5\xB9\xB3")   ? ToneClass::Ping // 平
           : c == QByteArrayView("\xE4\xBB\x84") ? ToneClass::Ze   // 仄
           : c == QByteArrayView("\xE4\xB8\xAD") ? ToneClass::Both // 中
                                                 : ToneClass::Unknown;
}

// The class a position asks for, by the form's authority: the corpus's counts, or the book's class.
void judgePosition(CiPosition &pos, const CiForm &form)
{
    if (form.fromBook())
        applyBookEvidence(pos, form.tier, form.poems);
    else
        applyEvidence(pos, form.poems);
}

// A line's positions from 词句.位 and the book's classes from 词句.谱; false where 位 does not hold them
// (a file built before they were kept).
bool unpackPositions(QByteArrayView packed, QByteArrayView book, int length, const CiForm &form,
                     QList<CiPosition> &out)
{
    const std::optional<QList<rhymebookschema::PositionCounts>> counts =
        rhymebookschema::unpackPositions(packed, length);
    if (!counts)
        return false;
    out.reserve(length);
    for (qsizetype i = 0; i < counts->size(); ++i) {
        const rhymebookschema::PositionCounts &c = (*counts)[i];
        CiPosition pos;
        pos.ping = quint16(c.ping);
        pos.ze = quint16(c.ze);
        pos.both = quint16(c.both);
        pos.unknown = quint16(c.unknown);
        pos.book = bookClassAt(book, i);
        judgePosition(pos, form);
        out.append(pos);
    }
    return true;
}

// The positions from 词位, a row each, for a file without them packed in 词句.
void readPositionRows(const SqliteFile &db, const std::function<CiForm *(const Statement &)> &formOf)
{
    // The class asked for follows from the counts (applyEvidence): the stored 声 is not read.
    const bool book = hasColumn(db, rhymebookschema::tableCiPositions, QStringLiteral("谱"));
    Statement positions(
        db,
        book ? QByteArrayLiteral("SELECT 牌, 体, 句, 平, 仄, 两, 缺, 谱 FROM 词位 ORDER BY 牌, 体, 句, 字")
             : QByteArrayLiteral("SELECT 牌, 体, 句, 平, 仄, 两, 缺, '' FROM 词位 ORDER BY 牌, 体, 句, 字"));
    // Rows of one form come together: its name is decoded only when it changes.
    CiForm *form = nullptr;
    QByteArray lastTune;
    int lastNumber = -1;
    while (positions.step()) {
        const Statement &s = positions;
        if (s.bytes(0) != lastTune || s.int32(1) != lastNumber) {
            form = formOf(s);
            lastTune = s.bytes(0).toByteArray();
            lastNumber = s.int32(1);
        }
        const int line = s.int32(2) - 1;
        if (!form || line < 0 || line >= form->lines.size())
            continue;
        CiPosition pos;
        pos.ping = quint16(s.int32(3));
        pos.ze = quint16(s.int32(4));
        pos.both = quint16(s.int32(5));
        pos.unknown = quint16(s.int32(6));
        const QString printed = s.text(7);
        pos.book = printed.isEmpty() ? ToneClass::Unknown : bookClass(printed.front());
        judgePosition(pos, *form);
        form->lines[line].positions.append(pos);
    }
}

// Lines come in the forms' order, so each row extends the last line of its form; their positions
// come packed with them, or else from 词位.
void readLines(const SqliteFile &db, QList<CiTune> &tunes, const QHash<QString, int> &byName,
               const FormIndex &formAt)
{
    const auto formOf = [&](const Statement &s) -> CiForm * {
        const auto it = formAt.constFind({byName.value(s.text(0), -1), s.int32(1)});
        return it == formAt.constEnd() ? nullptr : &tunes[it->first].forms[it->second];
    };
    const bool packed = hasColumn(db, rhymebookschema::tableCiLines, QStringLiteral("位"));
    const bool book = hasColumn(db, rhymebookschema::tableCiLines, QStringLiteral("谱"));
    // Each column a file built before it was kept lacks is read as empty.
    const QByteArray sql = QByteArrayLiteral("SELECT 牌, 体, 句, 韵组, 韵声, 押, 字数, ") +
                           (packed ? QByteArrayLiteral("位") : QByteArrayLiteral("x''")) +
                           (book ? QByteArrayLiteral(", 读, 标, 谱") : QByteArrayLiteral(", '', '', ''")) +
                           QByteArrayLiteral(" FROM 词句 ORDER BY 牌, 体, 句");
    Statement lines(db, sql);
    bool allPacked = true;
    while (lines.step()) {
        CiForm *form = formOf(lines);
        if (!form || lines.int32(2) != form->lines.size() + 1)
            continue;
        CiLine line;
        line.rhymeRun = lines.int32(3);
        line.rhymeTone = line.rhymeRun ? classOfName(lines.bytes(4)) : ToneClass::Unknown;
        line.rhymed = lines.int32(5);
        line.dou = numbersOf(lines.text(8));
        line.mark = lines.text(9);
        allPacked = unpackPositions(lines.blob(7), lines.bytes(10), lines.int32(6), *form, line.positions) &&
                    allPacked;
        form->lines.append(line);
    }
    if (allPacked)
        return;
    for (CiTune &tune : tunes)
        for (CiForm &form : tune.forms)
            for (CiLine &line : form.lines)
                line.positions.clear();
    readPositionRows(db, formOf);
}

} // namespace

std::shared_ptr<const Cipu> readCipu(const SqliteFile &db)
{
    if (!hasTable(db, rhymebookschema::tableCiPositions))
        return std::make_shared<Cipu>();
    QHash<QString, int> byName;
    QList<CiTune> tunes = readTunes(db, byName);
    FormIndex formAt;
    readForms(db, tunes, byName, formAt);
    readLines(db, tunes, byName, formAt);
    for (CiTune &tune : tunes)
        for (CiForm &form : tune.forms) {
            form.tunePoems = tune.poems;
            yieldToBook(form);
        }
    // A form with a line left empty by a damaged file is of no use: drop it.
    for (CiTune &tune : tunes)
        tune.forms.removeIf([](const CiForm &f) {
            return f.lines.isEmpty() || std::any_of(f.lines.begin(), f.lines.end(),
                                                    [](const CiLine &l) { return l.positions.isEmpty(); });
        });
    auto cipu = std::make_shared<Cipu>(std::move(tunes));
    cipu->setSharedRhymes(readSharedRhymes(db));
    return cipu;
}

} // namespace prosody

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/booksfixture.h"

#include <algorithm>

#include "db/dberror.h"
#include "db/rhymebookschema.h"

#include <QDir>
#include <QFileInfo>

BooksFixture::BooksFixture(const QString &path)
    : m_path(path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    try {
        m_file = std::make_unique<SqliteFile>(path, SqliteFile::Mode::Create);
    } catch (const DbError &) {
        qFatal("cannot create %s", qPrintable(path));
    }
    for (const QString &sql : rhymebookschema::createStatements())
        exec(sql, {});
    exec(QStringLiteral("INSERT INTO 版本 VALUES (?1, ?2)"),
         {rhymebookschema::versionKey, QStringLiteral("test")});
}

BooksFixture::~BooksFixture() = default;

void BooksFixture::exec(const QString &sql, const QStringList &values)
{
    try {
        Statement st(*m_file, sql.toUtf8());
        for (int i = 0; i < values.size(); ++i)
            st.bindText(i + 1, values.at(i));
        if (st.step())
            qFatal("fixture SQL returned rows: %s", qPrintable(sql));
    } catch (const DbError &e) {
        qFatal("fixture SQL failed: %s: %s", qPrintable(sql), qPrintable(e.message()));
    }
}

BooksFixture &BooksFixture::add(const QString &book, const QString &group, const QString &tone,
                                const QString &chars, int level)
{
    exec(QStringLiteral(
             "INSERT INTO 韵部 SELECT ?1, coalesce((SELECT min(序) FROM 韵部 WHERE 书 = ?1 AND 部 = ?2), "
             "(SELECT coalesce(max(序), 0) + 1 FROM 韵部 WHERE 书 = ?1)), ?2, ?3 WHERE NOT EXISTS "
             "(SELECT 1 FROM 韵部 WHERE 书 = ?1 AND 部 = ?2 AND 声 = ?3)"),
         {book, group, tone});
    for (const uint c : chars.toUcs4()) {
        const char32_t hanzi = c;
        exec(QStringLiteral(
                 "INSERT INTO 韵字 VALUES (?1, ?2, ?3, ?4, ?5, (SELECT count(*) + 1 FROM 韵字 WHERE 书 = ?1 "
                 "AND 部 = ?2))"),
             {book, group, QString::fromUcs4(&hanzi, 1), tone, QString::number(level)});
    }
    return *this;
}

BooksFixture &BooksFixture::ungrouped(const QString &book, const QString &hanzi, const QString &tone,
                                      const QString &basis)
{
    exec(QStringLiteral("INSERT INTO 无部字 VALUES (?1, ?2, ?3, 1, ?4)"), {book, hanzi, tone, basis});
    return *this;
}

BooksFixture &BooksFixture::neighbours(const QString &book, const QString &group, const QString &other)
{
    exec(QStringLiteral("INSERT INTO 邻韵 VALUES (?1, ?2, ?3)"), {book, group, other});
    exec(QStringLiteral("INSERT INTO 邻韵 VALUES (?1, ?2, ?3)"), {book, other, group});
    return *this;
}

BooksFixture &BooksFixture::reading(const QString &hanzi, const QString &pinyin)
{
    exec(QStringLiteral("INSERT INTO 读音 VALUES (?1, (SELECT count(*) + 1 FROM 读音 WHERE 字 = ?1), ?2)"),
         {hanzi, pinyin});
    return *this;
}

BooksFixture &BooksFixture::characterPairs(const QString &table, const QString &forms,
                                           const QString &standards)
{
    const QList<uint> from = forms.toUcs4(), to = standards.toUcs4();
    for (qsizetype i = 0; i < from.size() && i < to.size(); ++i) {
        const char32_t f = from.at(i), t = to.at(i);
        exec(QStringLiteral("INSERT INTO %1 VALUES (?1, ?2)").arg(table),
             {QString::fromUcs4(&f, 1), QString::fromUcs4(&t, 1)});
    }
    return *this;
}

BooksFixture &BooksFixture::variants(const QString &forms, const QString &standards)
{
    return characterPairs(QStringLiteral("异体"), forms, standards);
}

BooksFixture &BooksFixture::alsoFor(const QString &written, const QString &meant)
{
    return characterPairs(QStringLiteral("兼体"), written, meant);
}

BooksFixture &BooksFixture::word(const QString &word, const QString &pinyin)
{
    exec(QStringLiteral("INSERT INTO 词音 VALUES (?1, ?2)"), {word, pinyin});
    return *this;
}

BooksFixture &BooksFixture::tune(const QString &name, int poems, const QStringList &aliases)
{
    exec(QStringLiteral(
             "INSERT INTO 词牌 (牌, 序, 首数, 入体) VALUES (?1, (SELECT count(*) + 1 FROM 词牌), ?2, ?2)"),
         {name, QString::number(poems)});
    exec(QStringLiteral("INSERT INTO 词牌名 VALUES (?1, ?1, ?2, '本名')"), {name, QString::number(poems)});
    for (const QString &alias : aliases)
        exec(QStringLiteral("INSERT INTO 词牌名 VALUES (?1, ?2, 1, '集中写法')"), {alias, name});
    return *this;
}

BooksFixture &BooksFixture::bookAlias(const QString &alias, const QString &tune)
{
    exec(QStringLiteral("INSERT INTO 词牌名 VALUES (?1, ?2, 0, '谱中又名')"), {alias, tune});
    return *this;
}

BooksFixture &BooksFixture::sharedRhyme(const QString &section, const QString &other, int poems, int runs)
{
    exec(QStringLiteral("INSERT INTO 通押 VALUES (?1, ?2, ?3, ?4)"),
         {section, other, QString::number(poems), QString::number(runs)});
    return *this;
}

BooksFixture &BooksFixture::ciForm(const QString &tune, int number, int poems, const QStringList &lines,
                                   int stanzaBreak, const QString &scheme, int share)
{
    return form(tune, number, poems, lines, stanzaBreak, scheme, share, {});
}

BooksFixture &BooksFixture::bookForm(const QString &tune, int number, int poems, const QStringList &lines,
                                     const QString &author, bool compared)
{
    return form(tune, number, poems, lines, 0, QStringLiteral("平韵"), 0, author, compared);
}

BooksFixture &BooksFixture::bookWritesOther(const QString &tune, int number, int line, int character)
{
    const QStringList at{tune, QString::number(number), QString::number(line), QString::number(character)};
    exec(QStringLiteral("UPDATE 词句 SET 谱 = substr(谱, 1, CAST(?4 AS INTEGER) - 1) || "
                        "(CASE substr(谱, CAST(?4 AS INTEGER), 1) WHEN '平' THEN '仄' ELSE '平' END) || "
                        "substr(谱, CAST(?4 AS INTEGER) + 1) WHERE 牌 = ?1 AND 体 = ?2 AND 句 = ?3"),
         at);
    exec(QStringLiteral("UPDATE 词位 SET 谱 = (CASE 谱 WHEN '平' THEN '仄' ELSE '平' END) "
                        "WHERE 牌 = ?1 AND 体 = ?2 AND 句 = ?3 AND 字 = ?4"),
         at);
    return *this;
}

BooksFixture &BooksFixture::bookEndsUnrhymed(const QString &tune, int number, int line)
{
    exec(QStringLiteral("UPDATE 词句 SET 标 = '句' WHERE 牌 = ?1 AND 体 = ?2 AND 句 = ?3"),
         {tune, QString::number(number), QString::number(line)});
    return *this;
}

BooksFixture &BooksFixture::form(const QString &tune, int number, int poems, const QStringList &lines,
                                 int stanzaBreak, const QString &scheme, int share, const QString &author,
                                 bool compared)
{
    // A form of the book carries its class at each place (谱); a form of the corpus none.
    const bool book = !author.isEmpty();
    QStringList lengths;
    for (qsizetype l = 0; l < lines.size(); ++l) {
        const QStringList parts = lines[l].split(u'/');
        const QString pattern = parts.first();
        const QStringList rhyme = parts.value(1, QStringLiteral("0")).split(u'~');
        const QString run = rhyme.first();
        const int rhymed = rhyme.size() > 1 ? poems * rhyme[1].toInt() / 100 : poems;
        const QString line = QString::number(l + 1);
        lengths << QString::number(pattern.size());
        QList<rhymebookschema::PositionCounts> counts; // 词位's counts again, packed in 词句.位
        for (qsizetype i = 0; i < pattern.size(); ++i) {
            const int lean = share > 0 ? poems * share / 100 : poems - poems / 20;
            const int ping = pattern[i] == u'平' ? lean : pattern[i] == u'仄' ? poems - lean : poems * 6 / 10;
            exec(QStringLiteral("INSERT INTO 词位 (牌, 体, 句, 字, 声, 平, 仄, 两, 缺, 谱) "
                                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, 0, 0, ?8)"),
                 {tune, QString::number(number), line, QString::number(i + 1), QString(pattern[i]),
                  QString::number(ping), QString::number(poems - ping),
                  book ? QString(pattern[i]) : QString()});
            counts.append({.ping = ping, .ze = poems - ping});
        }
        exec(QStringLiteral("INSERT INTO 词句 (牌, 体, 句, 字数, 韵组, 韵声, 押, 位, 谱) "
                            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, x'%1', ?8)")
                 .arg(QString::fromLatin1(rhymebookschema::packPositions(counts).toHex())),
             {tune, QString::number(number), line, QString::number(pattern.size()), run,
              run == u"0" ? QString() : QString(pattern.back() == u'仄' ? u'仄' : u'平'),
              QString::number(rhymed), book ? pattern : QString()});
    }
    // The poets: a third of the poems' number.
    const QString source = !book       ? QStringLiteral("词作")
                           : poems > 0 ? QStringLiteral("谱与词作")
                                       : QStringLiteral("谱");
    exec(QStringLiteral("INSERT INTO 词体 (牌, 体, 首数, 结构, 分片, 韵式, 例, 家, 源, 谱序, 作者, 可校) "
                        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, '某：例。', ?7, ?8, ?9, ?10, ?11)"),
         {tune, QString::number(number), QString::number(poems), lengths.join(u','),
          QString::number(stanzaBreak), scheme, QString::number(std::max(book ? 0 : 1, poems / 3)), source,
          QString::number(book ? number : 0), author, QString::number(compared ? 1 : 0)});
    return *this;
}

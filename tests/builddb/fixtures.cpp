// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/builddb/fixtures.h"

#include "db/dberror.h"
#include "db/sqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <bzlib.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace fixtures {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write fixture " + path.toStdString());
}

void writeJson(const QString &path, const QJsonValue &value)
{
    const QJsonDocument doc =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    writeFile(path, doc.toJson(QJsonDocument::Compact));
}

void writeBzip2(const QString &path, const QByteArray &text)
{
    QByteArray packed(text.size() + text.size() / 100 + 1024, Qt::Uninitialized);
    unsigned int size = packed.size();
    if (BZ2_bzBuffToBuffCompress(packed.data(), &size, const_cast<char *>(text.constData()), text.size(), 9,
                                 0, 0) != BZ_OK)
        throw std::runtime_error("cannot compress fixture");
    packed.resize(size);
    writeFile(path, packed);
}

QByteArray unihanLine(char32_t hanzi, const char *field, const QString &value)
{
    return QStringLiteral("U+%1\t%2\t%3\n")
        .arg(QString::number(uint(hanzi), 16).toUpper(), QLatin1String(field), value)
        .toUtf8();
}

void writeUnihan(const QString &dir, const QByteArray &mappings, const QByteArray &readings)
{
    writeBzip2(dir + QStringLiteral("/Unihan_OtherMappings.txt.bz2"), "# test file\n" + mappings);
    writeBzip2(dir + QStringLiteral("/Unihan_Readings.txt.bz2"), "# test file\n" + readings);
}

QString query(const QString &path, const QString &sql)
{
    QStringList rows;
    try {
        SqliteFile file(path, SqliteFile::Mode::ReadOnly);
        Statement st(file, sql.toUtf8());
        while (st.step())
            rows << st.text(0);
    } catch (const DbError &) {
        // A file or query the builder got wrong reads as the rows found so far.
    }
    return rows.join(u' ');
}

QString poetryDist(const QString &root)
{
    return root + QStringLiteral("/node_modules/chinese-poetry/dist");
}

namespace {

QJsonArray lines(std::initializer_list<const char16_t *> texts)
{
    QJsonArray out;
    for (const char16_t *t : texts)
        out.append(QString::fromUtf16(t));
    return out;
}

void writePoetry(const QString &dist)
{
    // Primers: one regulated poem in both, with a traditional-character title and author.
    const QJsonObject tangPoem{{"chapter", u"山居"_s},
                               {"subchapter", u"山居 / 秋山居"_s},
                               {"author", u"王維"_s},
                               {"paragraphs", lines({u"風起雲飛過舊鄉，歸來獨坐聽鐘聲。(舊 一作：故)",
                                                     u"長亭草色連天遠，落日江邊送客行。"})}};
    const QJsonObject ancientPoem{{"chapter", u"古意"_s},
                                  {"subchapter", QJsonValue()},
                                  {"author", u"李白"_s},
                                  {"paragraphs", lines({u"青山橫北郭，白水繞東城。"})}};
    const QJsonObject anonymous{{"chapter", u"無題"_s},
                                {"subchapter", QJsonValue()},
                                {"author", u"佚名"_s},
                                {"paragraphs", lines({u"月落烏啼處，江楓照客船。"})}};
    writeJson(
        dist + "/mengxue/tangshisanbaishou.json",
        QJsonObject{
            {"title", u"唐詩三百首"_s},
            {"content",
             QJsonArray{QJsonObject{{"type", u"七言絕句"_s}, {"content", QJsonArray{tangPoem, anonymous}}},
                        QJsonObject{{"type", u"五言古詩"_s}, {"content", QJsonArray{ancientPoem}}}}}});
    const QJsonObject repeated{{"chapter", u"山居"_s},
                               {"author", u"（唐）王維"_s},
                               {"paragraphs", lines({u"風起雲飛過舊鄉，歸來獨坐聽鐘聲。"})}};
    const QJsonObject nested{
        {"chapter", u"春日二首"_s},
        {"author", u"（宋）程顥"_s},
        {"paragraphs",
         QJsonArray{QJsonObject{{"subchapter", u"其一"_s}, {"paragraphs", lines({u"花開滿樹紅，"})}},
                    QJsonObject{{"subchapter", u"其二"_s}, {"paragraphs", lines({u"柳暗一溪綠，"})}}}}};
    writeJson(dist + "/mengxue/qianjiashi.json",
              QJsonObject{{"title", u"千家詩"_s},
                          {"content", QJsonArray{QJsonObject{{"type", u"七言絕句"_s},
                                                             {"content", QJsonArray{repeated, nested}}}}}});

    // 全唐诗: a series of two (one poem twice), a one-poem "series" and a series of another poet.
    writeJson(dist + "/quantangshi/poet.tang.0.json",
              QJsonArray{QJsonObject{{"author", u"王維"_s},
                                     {"title", u"秋興二首 一"_s},
                                     {"paragraphs", lines({u"秋風吹落葉，"})}},
                         QJsonObject{{"author", u"王維"_s},
                                     {"title", u"秋興二首 二"_s},
                                     {"paragraphs", lines({u"寒雁過長空，"})},
                                     {"notes", lines({u"一本無此首。"})}},
                         QJsonObject{{"author", u"王維"_s},
                                     {"title", u"雜曲歌辭 秋興二首 一"_s},
                                     {"paragraphs", lines({u"秋風吹落葉，"})}},
                         QJsonObject{{"author", u"王維"_s},
                                     {"title", u"獨坐三首 一"_s},
                                     {"paragraphs", lines({u"獨坐對青山，彊弓掛壁間。"})}},
                         QJsonObject{{"author", u"張三"_s},
                                     {"title", u"閒居二首 一"_s},
                                     {"paragraphs", lines({u"閒居無一事，"})}},
                         QJsonObject{{"author", u"張三"_s},
                                     {"title", u"閒居二首 二"_s},
                                     {"paragraphs", lines({u"高臥看浮雲，"})}}});
    writeJson(dist + "/quantangshi/poet.tang.1000.json",
              QJsonArray{QJsonObject{{"author", u"王維"_s},
                                     {"title", u"獨坐三首 二"_s},
                                     {"paragraphs", lines({u"孤雲去不還，飛鳥共誰閒。"})}},
                         QJsonObject{{"author", u"王維"_s},
                                     {"title", u"獨坐三首 三"_s},
                                     {"paragraphs", lines({u"獨坐對青山，強弓掛壁間。"})}}});

    writeJson(dist + "/songci/宋词三百首.json",
              QJsonArray{QJsonObject{{"author", u"某甲"_s},
                                     {"rhythmic", u"凤栖梧・蝶恋花"_s},
                                     {"paragraphs", lines({u"小楼昨夜听風雨，", u"一夜花開落。"})},
                                     {"tags", lines({u"宋词三百首"})}}});
    writeJson(dist + "/wudaishici/huajianji/huajianji-1-juan.json",
              QJsonArray{QJsonObject{{"title", u"菩萨蛮 其一"_s},
                                     {"rhythmic", u"菩萨蛮"_s},
                                     {"author", u"某乙"_s},
                                     {"paragraphs", lines({u"画楼春色远，"})},
                                     {"notes", lines({u"1.画楼--彩绘的楼。"})}}});
    writeJson(dist + "/wudaishici/huajianji/huajianji-0-preface.json",
              QJsonArray{QJsonObject{{"title", u"序"_s},
                                     {"rhythmic", u"花间集"_s},
                                     {"author", u"某丙"_s},
                                     {"paragraphs", lines({u"序文。"})},
                                     {"notes", QJsonArray()}}});
    writeJson(dist + "/wudaishici/nantang/poetrys.json",
              QJsonArray{QJsonObject{{"title", u"望江南·闲梦远"_s},
                                     {"rhythmic", u"望江南"_s},
                                     {"author", u"某丁"_s},
                                     {"paragraphs", lines({u"闲梦远，南国正芳春。"})},
                                     {"notes", QJsonArray()}}});
    writeJson(
        dist + "/nalanxingde/纳兰性德诗集.json",
        QJsonArray{
            QJsonObject{{"title", u"长相思·山一重"_s},
                        {"author", u"纳兰性德"_s},
                        {"para", lines({u"山一重，水一重"})}},
            QJsonObject{{"title", u"江行"_s}, {"author", u"纳兰性德"_s}, {"para", lines({u"江上晚风来"})}}});

    // 元曲: a suite of two tunes, then the arias of a play.
    writeJson(dist + "/yuanqu/yuanqu.json",
              QJsonArray{QJsonObject{{"dynasty", "yuan"},
                                     {"author", u"某戊"_s},
                                     {"title", u"双调・新水令"_s},
                                     {"paragraphs", lines({u"春来花满院。"})}},
                         QJsonObject{{"dynasty", "yuan"},
                                     {"author", u"某戊"_s},
                                     {"title", u"驻马听・柳外青山，水边"_s},
                                     {"paragraphs", lines({u"红杏。", u"风吹过。"})}},
                         QJsonObject{{"dynasty", "yuan"},
                                     {"author", u"某戊"_s},
                                     {"title", u"某剧・混江龙"_s},
                                     {"paragraphs", lines({u"剧中唱词。"})}}});

    writeJson(dist + "/shijing/shijing.json",
              QJsonArray{QJsonObject{{"title", u"鹿鸣"_s},
                                     {"chapter", u"国风"_s},
                                     {"section", u"周南"_s},
                                     {"content", lines({u"呦呦鹿鸣，食野之草。"})}}});
    writeJson(dist + "/chuci/chuci.json", QJsonArray{QJsonObject{{"title", u"远游"_s},
                                                                 {"section", u"远游"_s},
                                                                 {"author", u"屈原"_s},
                                                                 {"content", lines({u"悲时俗之迫阨兮。"})}},
                                                     QJsonObject{{"title", u"思古"_s},
                                                                 {"section", u"九叹"_s},
                                                                 {"author", u"刘向"_s},
                                                                 {"content", lines({u"冥冥深林兮。"})}}});
}

} // namespace

void writeSources(const QString &root)
{
    QByteArray mappings, readings;
    const auto add = [&](char32_t c, int rank, const QString &standard, const QString &mandarin) {
        mappings += unihanLine(c, "kTGH", QStringLiteral("2013:%1").arg(rank));
        readings += unihanLine(c, "kTGHZ2013", standard);
        readings += unihanLine(c, "kMandarin", mandarin);
    };
    add(U'八', 10, u"001.010:bā"_s, u"bā"_s);
    add(U'场', 367, u"038.120:cháng 039.050:chǎng"_s, u"chǎng"_s);
    add(U'吕', 900, u"200.010:lǚ"_s, u"lǚ"_s);
    add(U'鲳', 7000, u"050.020:chāng"_s, u"chāng"_s);
    writeUnihan(root + "/unihan", mappings, readings);

    const QString pinyin = root + "/node_modules/@pinyin-pro/data/json/";
    writeJson(pinyin + "complete.json", QJsonObject{{u"八"_s, QJsonArray{u"bā"_s, 1e-8}},
                                                    {u"场"_s, QJsonArray{u"chǎng"_s, 1e-8}},
                                                    {u"吕"_s, QJsonArray{u"lǚ"_s, 1e-9}}});
    writeJson(pinyin + "modern.json", QJsonObject{{u"八方"_s, QJsonArray{u"bā fāng"_s, 1e-9}},
                                                  {u"场地"_s, QJsonArray{u"chǎng dì"_s, 1e-9}}});

    writeJson(root + "/node_modules/cnchar-data/explanation/八.json",
              QJsonObject{{u"八方"_s, u"1.四面八方。"_s}, {u"八面来风"_s, u"形容消息灵通◇泛指各处。"_s}});
    writeFile(root + "/node_modules/cnchar-idiom/package.json",
              R"({"name":"cnchar-idiom","main":"idiom.js"})");
    writeFile(root + "/node_modules/cnchar-idiom/idiom.js",
              "module.exports = {dict: {idiom: ['八面来风']}};\n");

    writePoetry(poetryDist(root));
}

} // namespace fixtures

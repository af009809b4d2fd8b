// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/classics/corpus.h"

#include "tests/support/booksfixture.h"
#include "tools/classics/classics.h" // the builder's

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace corpus {

namespace {

void writeJson(const QString &path, const QJsonDocument &doc)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    const QByteArray bytes = doc.toJson(QJsonDocument::Compact);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write fixture " + path.toStdString());
}

QJsonArray texts(std::initializer_list<const char16_t *> list)
{
    QJsonArray out;
    for (const char16_t *t : list)
        out.append(QString::fromUtf16(t));
    return out;
}

QJsonObject primerPoem(const QString &chapter, const QString &author, const QJsonArray &lines)
{
    return {{"chapter", chapter}, {"author", author}, {"paragraphs", lines}};
}

QJsonObject tangPoem(const QString &title, const QString &author, const QJsonArray &lines,
                     const QJsonArray &tags = {})
{
    QJsonObject o{{"title", title}, {"author", author}, {"paragraphs", lines}, {"id", title}};
    if (!tags.isEmpty())
        o.insert("tags", tags);
    return o;
}

QJsonObject ci(const QString &tune, const QString &author, const QJsonArray &lines,
               const QJsonArray &tags = {})
{
    QJsonObject o{{"rhythmic", tune}, {"author", author}, {"paragraphs", lines}};
    if (!tags.isEmpty())
        o.insert("tags", tags);
    return o;
}

} // namespace

void writePoetry(const QString &root, const QString &version)
{
    const QString package = root + u"/node_modules/chinese-poetry"_s;
    writeJson(package + u"/package.json"_s,
              QJsonDocument(QJsonObject{{"name", "chinese-poetry"}, {"version", version}}));
    const QString dist = package + u"/dist"_s;

    const QJsonArray jianglou = texts({u"高樓望遠天，落日照江船。", u"獨坐聽風雨，孤燈伴客眠。"});
    writeJson(dist + u"/mengxue/tangshisanbaishou.json"_s,
              QJsonDocument(QJsonObject{
                  {"title", u"唐詩三百首"_s},
                  {"content", QJsonArray{QJsonObject{
                                  {"type", u"五言絕句"_s},
                                  {"content", QJsonArray{primerPoem(u"江樓"_s, u"張九"_s, jianglou)}}}}}}));
    writeJson(
        dist + u"/mengxue/qianjiashi.json"_s,
        QJsonDocument(QJsonObject{
            {"title", u"千家詩"_s},
            {"content",
             QJsonArray{QJsonObject{
                 {"type", u"七言絕句"_s},
                 {"content", QJsonArray{primerPoem(u"春日"_s, u"（宋）程顥"_s,
                                                   texts({u"雲淡風輕近午天，傍花隨柳過前川。"}))}}}}}}));

    const QJsonArray huanxisha = texts({u"春水初生綠滿塘。", u"小橋西畔是誰家。"});
    writeJson(dist + u"/songci/宋词三百首.json"_s,
              QJsonDocument(QJsonArray{ci(u"浣溪沙"_s, u"周七"_s, huanxisha, texts({u"宋词三百首"}))}));

    const QJsonArray chengtou = texts({u"城頭晚角鳴，客子正宵行。", u"煙起千家暗，星垂一水明。"});
    writeJson(
        dist + u"/quantangshi/poet.tang.0.json"_s,
        QJsonDocument(QJsonArray{
            tangPoem(u"江樓"_s, u"張九"_s, texts({u"高樓望遠山，落日照江船。", u"獨坐聽風雨，孤燈伴客眠。"}),
                     texts({u"唐诗三百首"})),
            tangPoem(u"城頭"_s, u"王五"_s, chengtou),
            tangPoem(u"橫吹曲辭 城頭"_s, u"王五"_s, chengtou),
        }));
    writeJson(
        dist + u"/quantangshi/poet.tang.1000.json"_s,
        QJsonDocument(QJsonArray{
            tangPoem(u"城頭"_s, u"趙六"_s, chengtou),
            tangPoem(
                u"夜泊"_s, u"李十"_s,
                texts({u"夜雨入池[塘]，孤舟泊野航（一作「孤帆", u"泊野塘」）。何人吹笛起，此去雁成行。"})),
            tangPoem(u"闕題"_s, u"無名"_s, texts({u"（詩缺）"})),
            tangPoem(u"送別"_s, u"孫九"_s, texts({u"山中相送罷，日暮掩柴扉。"}), texts({u"唐诗三百首"})),
        }));

    writeJson(dist + u"/songci/ci.song.0.json"_s,
              QJsonDocument(QJsonArray{
                  ci(u"浣溪沙"_s, u"周七"_s, huanxisha, texts({u"宋词三百首"})),
                  QJsonObject{{"rhythmic", u"憶江南"_s},
                              {"author", u"吳八"_s},
                              {"prologue", u"作於湖上。"_s},
                              {"paragraphs", texts({u"湖上好，明月照樓臺。", u"風吹𠀀草動，孤□照水寒。"})}},
                  ci(u"憶江南"_s, u"吳八"_s, texts({u"湖上好，風起浪花開。", u"一夜春潮滿，千帆入海來。"})),
                  ci(u"楊柳枝"_s, u"吳八"_s,
                     texts({u"湖邊楊柳拂晴天，湖上扁舟正泊船。", u"夜半歌聲驚客夢，一燈孤照到前川。"})),
                  ci(u"失調名"_s, u"無名"_s, texts({u"（缺词文）"})),
              }));
}

void writeBooks(const QString &path)
{
    BooksFixture books(path);
    books.add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东重"_s)
        .add(u"平水韵"_s, u"上平二冬"_s, u"平"_s, u"冬重"_s)
        .add(u"平水韵"_s, u"下平一先"_s, u"平"_s, u"天船眠烟前川"_s)
        .add(u"平水韵"_s, u"下平七阳"_s, u"平"_s, u"阳塘航行"_s)
        .add(u"平水韵"_s, u"下平八庚"_s, u"平"_s, u"城鸣行明"_s)
        .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"木竹屋落"_s)
        .add(u"中华新韵"_s, u"八寒"_s, u"平"_s, u"天船眠烟前川"_s)
        .add(u"中华新韵"_s, u"十唐"_s, u"平"_s, u"塘航阳"_s)
        .add(u"中华新韵"_s, u"十一庚"_s, u"平"_s, u"鸣行明城重"_s)
        .add(u"中华新韵"_s, u"十一庚"_s, u"去"_s, u"行"_s)
        .variants(u"樓遠燈"_s, u"楼远灯"_s);
}

QString buildClassics(const QString &root)
{
    writePoetry(root);
    writeBooks(root + u"/date/rhymebooks.db"_s);
    builddb::ClassicsOptions options;
    options.output = root + u"/date/classics.db"_s;
    options.sources.root = root;
    QString out;
    QTextStream log(&out);
    builddb::buildClassicsFile(options, log);
    return options.output;
}

QString buildClassicsWithCouplets(const QString &root)
{
    writePoetry(root);
    const auto shanju = [](const QString &author, const QString &opening) {
        return QJsonObject{
            {"title", u"山居秋暝"_s},
            {"author", author},
            {"id", author},
            {"paragraphs", QJsonArray{opening, u"明月松間照，清泉石上流。"_s, u"竹喧歸浣女，蓮動下漁舟。"_s,
                                      u"隨意春芳歇，王孫自可留。"_s}}};
    };
    writeJson(root + u"/node_modules/chinese-poetry/dist/quantangshi/poet.tang.2000.json"_s,
              QJsonDocument(QJsonArray{shanju(u"王維"_s, u"空山新雨後，天氣晚來秋。"_s),
                                       shanju(u"王十"_s, u"新山空雨後，天氣晚來秋。"_s)}));
    BooksFixture books(root + u"/date/rhymebooks.db"_s);
    books.add(u"平水韵"_s, u"下平十一尤"_s, u"平"_s, u"秋流舟留"_s)
        .add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"空山新天来明松间清泉喧归莲渔随春芳王孙"_s)
        .add(u"平水韵"_s, u"去声七遇"_s, u"去"_s, u"雨后气晚照石上浣女动下意自可月"_s)
        .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"竹歇"_s)
        .variants(u"後氣來間歸動漁隨孫蓮"_s, u"后气来间归动渔随孙莲"_s);
    builddb::ClassicsOptions options;
    options.output = root + u"/date/classics.db"_s;
    options.sources.root = root;
    QString out;
    QTextStream log(&out);
    builddb::buildClassicsFile(options, log);
    return options.output;
}

} // namespace corpus

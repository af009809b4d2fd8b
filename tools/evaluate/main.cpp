// SPDX-License-Identifier: GPL-3.0-or-later
// shihai-evaluate: measures the rhyme books, the metre check and the classics file against the installed
// classics. Developer tool; prints Markdown for docs/.
#include "classics/classics.h"
#include "db/dberror.h"
#include "db/sqlite.h"
#include "prosody/check.h"
#include "prosody/ci/cipu.h"
#include "prosody/core/referencefile.h"
#include "tools/cli/commandline.h"
#include "tools/common/converter.h"
#include "tools/common/sources.h"
#include "tools/dictionary/primers.h"
#include "tools/evaluate/againstevidence.h"
#include "tools/evaluate/bookexamples.h"
#include "tools/evaluate/cipubook.h"
#include "tools/evaluate/classicsfile.h"
#include "tools/evaluate/corpora.h"
#include "tools/evaluate/couplets.h"
#include "tools/evaluate/invariance.h"
#include "tools/evaluate/pasted.h"
#include "tools/evaluate/polyphones.h"
#include "tools/evaluate/readings.h"
#include "tools/evaluate/slips.h"
#include "tools/evaluate/songci300.h"
#include "tools/evaluate/strains.h"
#include "tools/evaluate/suggestions.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QTextStream>

#include <algorithm>

using namespace prosody;
using namespace Qt::StringLiterals;

namespace {

QTextStream out(stdout);

int strains(const RhymeBooks &books)
{
    const builddb::Converter t2s;
    const QHash<QString, QStringList> byKey = tangStrains(t2s);
    qsizetype matched = 0, poems = 0, compared = 0, agree = 0, both = 0, unknown = 0;
    QMap<QString, int> disagreements; // "字 ours→theirs"
    for (const builddb::PrimerPoem &poem :
         builddb::readPrimer(builddb::tangPrimerPath(dist()), QStringLiteral("唐"), t2s)) {
        ++poems;
        if (poem.lines.isEmpty())
            continue;
        const QStringList s = byKey.value(keyOf(poem.author, poem.lines.first()));
        if (s.isEmpty())
            continue;
        ++matched;
        const QString text = poem.lines.join(QString()), pattern = s.join(QString());
        if (text.size() != pattern.size())
            continue; // the two editions differ in this poem
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar theirs = pattern.at(i);
            if (theirs != u'平' && theirs != u'仄')
                continue;
            ++compared;
            const ToneClass ours = books.toneClass(Book::Pingshui, text.at(i).unicode());
            if (ours == ToneClass::Both)
                ++both, ++agree;
            else if (ours == ToneClass::Unknown)
                ++unknown;
            else if (className(ours) == theirs)
                ++agree;
            else
                ++disagreements[QStringLiteral("%1 %2→%3").arg(text.at(i), className(ours), theirs)];
        }
    }
    out << "## 平水韵 against the 平仄 strings of chinese-poetry (唐诗三百首)\n\n";
    out << QStringLiteral("- poems: %1, matched in 全唐诗 by author and first line: %2\n")
               .arg(poems)
               .arg(matched);
    out << QStringLiteral("- characters compared: %1; agreeing: %2 (%3%; %4 of them 中 in our book); "
                          "disagreeing: %5; not in our book: %6\n\n")
               .arg(compared)
               .arg(agree)
               .arg(100.0 * agree / std::max<qsizetype>(1, compared), 0, 'f', 2)
               .arg(both)
               .arg(compared - agree - unknown)
               .arg(unknown);
    QList<std::pair<int, QString>> sorted;
    for (auto it = disagreements.constBegin(); it != disagreements.constEnd(); ++it)
        sorted.append({it.value(), it.key()});
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    out << "| character, ours → theirs | times |\n|---|---:|\n";
    for (qsizetype i = 0; i < std::min<qsizetype>(20, sorted.size()); ++i)
        out << "| " << sorted.at(i).second << " | " << sorted.at(i).first << " |\n";
    out << Qt::endl;
    return 0;
}

int tangshi(const std::shared_ptr<const RhymeBooks> &books)
{
    const builddb::Converter t2s;
    const Checker checker(books);
    struct Tally {
        int poems = 0, ok = 0;
    };
    QMap<QString, Tally> bySection;
    QMap<QString, int> kinds;
    QStringList failures;
    for (const builddb::PrimerPoem &poem :
         builddb::readPrimer(builddb::tangPrimerPath(dist()), QStringLiteral("唐"), t2s)) {
        const QList<Poem> read = readPoems(poem.lines.join(u'\n'));
        if (read.size() != 1)
            continue;
        const QList<Line> &lines = read.first().lines;
        const bool shape = (lines.size() == 4 || lines.size() == 8) &&
                           std::all_of(lines.begin(), lines.end(),
                                       [&](const Line &l) { return l.size() == lines.first().size(); }) &&
                           (lines.first().size() == 5 || lines.first().size() == 7);
        if (!shape)
            continue;
        const PoemCheck check = checker.check(read.first(), Book::Pingshui);
        Tally &t = bySection[poem.form];
        ++t.poems;
        t.ok += check.ok();
        if (check.ok())
            continue;
        QStringList faults;
        for (const Finding &f : check.findings) {
            if (!f.isFault())
                continue;
            ++kinds[kindName(f.kind)];
            faults << f.text;
        }
        failures << QStringLiteral("- %1《%2》（%3）%4：%5")
                        .arg(poem.author, poem.title, poem.form, check.summary(),
                             faults.join(QStringLiteral("；")));
    }
    out << "## The metre check on the regulated verse of 唐诗三百首 (平水韵)\n\n| section | poems | pass "
           "|\n|---|---:|---:|\n";
    int poems = 0, ok = 0;
    for (auto it = bySection.constBegin(); it != bySection.constEnd(); ++it) {
        out << "| " << it.key() << " | " << it->poems << " | " << it->ok << " |\n";
        poems += it->poems;
        ok += it->ok;
    }
    out << "| all | " << poems << " | " << ok << " |\n\n| fault | times |\n|---|---:|\n";
    for (auto it = kinds.constBegin(); it != kinds.constEnd(); ++it)
        out << "| " << it.key() << " | " << it.value() << " |\n";
    out << "\nThe poems that do not pass:\n\n" << failures.join(u'\n') << "\n" << Qt::endl;
    return 0;
}

// The ten 词牌 the report compares with the 词谱 poets know, and a famous 词 of each.
const char16_t *const kTenTunes[] = {u"浣溪沙", u"水调歌头", u"念奴娇", u"蝶恋花", u"菩萨蛮",
                                     u"西江月", u"临江仙",   u"满江红", u"鹧鸪天", u"沁园春"};

struct FamousCi {
    const char16_t *author;
    const char16_t *tune;
    const char16_t *text;
};
const FamousCi kFamousCi[] = {
    {u"苏轼", u"水调歌头",
     u"明月几时有，把酒问青天。不知天上宫阙，今夕是何年。我欲乘风归去，又恐琼楼玉宇，高处不胜寒。起舞弄清影，"
     u"何似在人间。转朱阁，低绮户，照无眠。不应有恨，何事长向别时圆。人有悲欢离合，月有阴晴圆缺，此事古难全。"
     u"但愿人长久，千里共婵娟。"},
    {u"苏轼", u"念奴娇",
     u"大江东去，浪淘尽，千古风流人物。故垒西边，人道是，三国周郎赤壁。乱石穿空，惊涛拍岸，卷起千堆雪。江山如"
     u"画，一时多少豪杰。遥想公瑾当年，小乔初嫁了，雄姿英发。羽扇纶巾，谈笑间，樯橹灰飞烟灭。故国神游，多情应"
     u"笑我，早生华发。人生如梦，一尊还酹江月。"},
    {u"岳飞", u"满江红",
     u"怒发冲冠，凭栏处，潇潇雨歇。抬望眼，仰天长啸，壮怀激烈。三十功名尘与土，八千里路云和月。莫等闲，白了少"
     u"年头，空悲切。靖康耻，犹未雪。臣子恨，何时灭。驾长车，踏破贺兰山缺。壮志饥餐胡虏肉，笑谈渴饮匈奴血。待"
     u"从头，收拾旧山河，朝天阙。"},
    {u"晏殊", u"浣溪沙",
     u"一曲新词酒一杯，去年天气旧亭台。夕阳西下几时回。无可奈何花落去，似曾相识燕归来。小园香径独徘徊。"},
    {u"辛弃疾", u"西江月",
     u"明月别枝惊鹊，清风半夜鸣蝉。稻花香里说丰年，听取蛙声一片。七八个星天外，两三点雨山前。旧时茅店社林边，"
     u"路转溪桥忽见。"},
    {u"苏轼", u"临江仙",
     u"夜饮东坡醒复醉，归来仿佛三更。家童鼻息已雷鸣。敲门都不应，倚杖听江声。长恨此身非我有，何时忘却营营。夜"
     u"阑风静縠纹平。小舟从此逝，江海寄余生。"},
    {u"晏几道", u"鹧鸪天",
     u"彩袖殷勤捧玉钟，当年拚却醉颜红。舞低杨柳楼心月，歌尽桃花扇底风。从别后，忆相逢，几回魂梦与君同。今宵剩"
     u"把银釭照，犹恐相逢是梦中。"},
    {u"柳永", u"蝶恋花",
     u"伫倚危楼风细细，望极春愁，黯黯生天际。草色烟光残照里，无言谁会凭阑意。拟把疏狂图一醉，对酒当歌，强乐还"
     u"无味。衣带渐宽终不悔，为伊消得人憔悴。"},
    {u"辛弃疾", u"菩萨蛮",
     u"郁孤台下清江水，中间多少行人泪。西北望长安，可怜无数山。青山遮不住，毕竟东流去。江晚正愁余，山深闻鹧鸪"
     u"。"},
    {u"辛弃疾", u"沁园春",
     u"杯汝来前，老子今朝，点检形骸。甚长年抱渴，咽如焦釜，于今喜睡，气似奔雷。汝说刘伶，古今达者，醉后何妨死"
     u"便埋。浑如此，叹汝于知己，真少恩哉。更凭歌舞为媒，算合作人间鸩毒猜。况怨无大小，生于所爱，物无美恶，过"
     u"则为灾。与汝成言，勿留亟退，吾力犹能肆汝杯。杯再拜，道麾之即去，招则须来。"},
};

// A form's lines as "7 中仄平平仄仄平 韵1平 96%": length, pattern, rhyme run and tone, the share of
// its poems that rhyme there.
QString linesOf(const CiForm &form)
{
    QStringList out;
    for (qsizetype l = 0; l < form.lines.size(); ++l) {
        const CiLine &line = form.lines[l];
        QString text = QStringLiteral("%1%2. %3")
                           .arg(l == form.stanzaBreak && l ? QStringLiteral("| ") : QString())
                           .arg(l + 1)
                           .arg(line.pattern());
        if (line.rhymeRun)
            text += QStringLiteral(" 韵%1%2 %3%")
                        .arg(line.rhymeRun)
                        .arg(className(line.rhymeTone))
                        .arg(100 * line.rhymed / std::max(1, form.poems));
        out << text;
    }
    return out.join(QStringLiteral("<br>"));
}

int cipu(const std::shared_ptr<const RhymeBooks> &books)
{
    const Cipu &cipu = books->cipu();
    out << "## The 词谱 derived from chinese-poetry (" << books->dataVersion()
        << ")\n\n| item | count |\n|---|---:|\n";
    try {
        const SqliteFile file(books->path(), SqliteFile::Mode::ReadOnly);
        Statement summary(file, QByteArrayLiteral("SELECT 项, 数 FROM 词谱概况 ORDER BY rowid"));
        summary.forEachRow(
            [](const Statement &s) { out << "| " << s.text(0) << " | " << s.int32(1) << " |\n"; });
    } catch (const DbError &) {
        // a file built before the summary was kept: the table stays empty, the report goes on
    }

    QMap<QString, int> schemes;
    QMap<int, int> formsPerTune;
    int breaks = 0, positions = 0, fixed = 0, smallMain = 0;
    for (const CiTune &tune : cipu.tunes()) {
        ++formsPerTune[int(tune.forms.size())];
        smallMain += tune.forms.first().poems < 5;
        for (const CiForm &form : tune.forms) {
            ++schemes[form.scheme];
            breaks += form.stanzaBreak > 0;
            for (const CiLine &line : form.lines)
                for (const CiPosition &p : line.positions)
                    ++positions, fixed += p.tone != ToneClass::Both;
        }
    }
    out << "\nForms by rhyme scheme: ";
    for (auto it = schemes.constBegin(); it != schemes.constEnd(); ++it)
        out << it.key() << " " << it.value() << "; ";
    out << "\n\n词牌 by number of forms: ";
    for (auto it = formsPerTune.constBegin(); it != formsPerTune.constEnd(); ++it)
        out << it.key() << " form(s) " << it.value() << "; ";
    out << QStringLiteral(
               "\n\nForms with a 片 break inferred: %1 of %2. Positions fixed (平 or 仄): %3 of %4 "
               "(%5%). 词牌 whose main form rests on fewer than 5 poems: %6.\n\n")
               .arg(breaks)
               .arg(cipu.forms().size())
               .arg(fixed)
               .arg(positions)
               .arg(100.0 * fixed / std::max(1, positions), 0, 'f', 1)
               .arg(smallMain);

    out << "## The main forms of ten 词牌\n\n";
    for (const char16_t *name : kTenTunes) {
        const CiTune *tune = cipu.find(QString::fromUtf16(name));
        if (!tune)
            continue;
        int inForms = 0;
        for (const CiForm &form : tune->forms)
            inForms += form.poems;
        out << QStringLiteral("### %1\n\nRank %2, %3 poems, %4 of them in %5 forms. Other names: %6.\n\n")
                   .arg(tune->name)
                   .arg(tune->rank)
                   .arg(tune->poems)
                   .arg(inForms)
                   .arg(tune->forms.size())
                   .arg(tune->aliases.isEmpty() ? QStringLiteral("none")
                                                : tune->aliases.mid(0, 12).join(u'、'));
        out << "| form | poems | characters | structure | scheme | example |\n|---|---:|---:|---|---|---|\n";
        for (const CiForm &form : tune->forms)
            out << "| " << form.name() << " | " << form.poems << " | " << form.characters() << " | "
                << form.structure().replace(u'|', QStringLiteral("\\|")) << " | " << form.scheme << " | "
                << form.example << " |\n";
        out << "\n正体, line by line (| marks the 片 break; 韵N平: rhyme run N on 平, with the share of the "
               "poems "
               "that rhyme there):\n\n"
            << linesOf(tune->forms.first()) << "\n\n";
    }

    out << "## Ten famous 词 against their 词牌 (词林正韵)\n\n";
    for (const FamousCi &ci : kFamousCi) {
        const QList<PoemCheck> checks = checkAs(books, QString::fromUtf16(ci.text),
                                                {CiFormRef{QString::fromUtf16(ci.tune), 0}, std::nullopt})
                                            .value_or(QList<PoemCheck>());
        if (checks.size() != 1)
            continue;
        QStringList findings;
        for (const Finding &f : checks.first().sortedFindings())
            findings << f.text;
        out << "- " << QString::fromUtf16(ci.author) << "《" << QString::fromUtf16(ci.tune) << "》「"
            << QString::fromUtf16(ci.text).left(7) << "…」: " << checks.first().summary()
            << (findings.isEmpty() ? QString() : QStringLiteral("：") + findings.join(QStringLiteral("；")))
            << "\n";
    }
    out << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    cli::CommandLine line(
        QStringLiteral("shihai-evaluate"),
        QStringLiteral("用已安装的古典作品衡量韵书、格律检查和古典诗词文件，结果以 Markdown "
                       "写到标准输出（供 docs/ 使用）。开发用工具。"));
    line.addUsage(QStringLiteral("strains|tangshi|cipu|polyphones|slips [RHYMEBOOKS]"));
    line.addUsage(QStringLiteral("pasted [--clean|--traditional] [RHYMEBOOKS]"));
    line.addUsage(QStringLiteral("invariance [--held | --corpus 名] [RHYMEBOOKS]"));
    line.addUsage(QStringLiteral("songci300 [--restored] [RHYMEBOOKS [JUDGED]]"));
    line.addUsage(QStringLiteral("classics [CLASSICS]"));
    line.addUsage(QStringLiteral("couplets [--traditional] [RHYMEBOOKS [CLASSICS]]"));
    line.addUsage(QStringLiteral("readings|against [RHYMEBOOKS [CLASSICS]]"));
    line.addUsage(QStringLiteral("suggestions [RHYMEBOOKS [CLASSICS]]"));
    line.addUsage(QStringLiteral("cipubook [--tune 调名 | --unplaced] [BOOKDIR]"));
    line.addUsage(QStringLiteral("cipubook --examples [RHYMEBOOKS]"));
    const QCommandLineOption clean(QStringLiteral("clean"),
                                   QStringLiteral("pasted：先去掉注释和异文再检查。"));
    const QCommandLineOption restored(QStringLiteral("restored"),
                                      QStringLiteral("songci300：先从宋词总集补回选本缺失的字。"));
    const QCommandLineOption tune(QStringLiteral("tune"), QStringLiteral("cipubook：只列出这个调的各体。"),
                                  QStringLiteral("调名"));
    const QCommandLineOption unplaced(QStringLiteral("unplaced"),
                                      QStringLiteral("cipubook：列出注中点名而在谱中找不到位置的字。"));
    const QCommandLineOption traditional(
        QStringLiteral("traditional"), QStringLiteral("pasted、couplets：用选本所印的繁体字，不转成简体。"));
    const QCommandLineOption held(QStringLiteral("held"), QStringLiteral("invariance：用留作检验的选本。"));
    const QCommandLineOption corpus(QStringLiteral("corpus"), QStringLiteral("invariance：只用这一个选本。"),
                                    QStringLiteral("名"));
    const QCommandLineOption examples(
        QStringLiteral("examples"),
        QStringLiteral("cipubook：谱中例词按其本体检查，并在自动中认调（RHYMEBOOKS 为韵书文件）。"));
    line.addOptions({clean, traditional, restored, tune, unplaced, held, corpus, examples});
    line.addArgument(QStringLiteral("strains"), QStringLiteral("平水韵对照唐诗三百首的平仄标注。"));
    line.addArgument(QStringLiteral("tangshi"), QStringLiteral("格律检查对照唐诗三百首的近体诗。"));
    line.addArgument(QStringLiteral("cipu"), QStringLiteral("词谱的各体与十首名词的检查。"));
    line.addArgument(QStringLiteral("polyphones"), QStringLiteral("多音字按词的读音取平仄。"));
    line.addArgument(QStringLiteral("slips"), QStringLiteral("改动一字后格律检查能否察觉。"));
    line.addArgument(QStringLiteral("pasted"), QStringLiteral("按选本原样粘贴的段落。"));
    line.addArgument(QStringLiteral("invariance"), QStringLiteral("同一首诗换种排法粘贴，结论是否不变。"));
    line.addArgument(QStringLiteral("songci300"),
                     QStringLiteral("宋词三百首按词牌检查；JUDGED 为列出不合的词的首数（默认 20）。"));
    line.addArgument(QStringLiteral("classics"), QStringLiteral("古典诗词文件的查询速度与内容。"));
    line.addArgument(QStringLiteral("couplets"), QStringLiteral("律诗中间两联的对仗。"));
    line.addArgument(QStringLiteral("readings"), QStringLiteral("平水韵的平仄对照古人押韵的实例。"));
    line.addArgument(QStringLiteral("against"),
                     QStringLiteral("多音字在平仄确定之处按词读成相反的一类：词与近体诗各计。"));
    line.addArgument(QStringLiteral("suggestions"),
                     QStringLiteral("填字：唐诗三百首近体诗各处的命中率与新增错误。"));
    line.addArgument(QStringLiteral("cipubook"), QStringLiteral("读御定词谱的文本：调、体、注与自校。"));
    line.addArgument(QStringLiteral("RHYMEBOOKS"), QStringLiteral("韵书文件（默认：date/rhymebooks.db）。"));
    line.addArgument(QStringLiteral("CLASSICS"), QStringLiteral("古典诗词文件（默认：date/classics.db）。"));
    line.addNote(QStringLiteral("退出状态：0 完成，1 出错，2 选项有误。"));
    if (const std::optional<int> done = line.parse(argc, argv))
        return *done;
    QCoreApplication app(argc, argv);
    const QString command = line.positional().value(0);
    const QStringList files = line.positional().mid(1);
    const QString path = files.value(0, QStringLiteral("date/rhymebooks.db"));
    try {
        if (command == u"classics")
            return classicsFile(files.value(0, QStringLiteral("date/classics.db")), out);
        if (command == u"cipubook" && line.isSet(examples))
            return cipubookExamples(loadRhymeBooks(path), QStringLiteral(SHIHAI_CIPUBOOK_DIR), out);
        if (command == u"cipubook") {
            const QString dir = files.value(0, QStringLiteral(SHIHAI_CIPUBOOK_DIR));
            if (line.isSet(unplaced))
                return cipubookUnplaced(dir, out);
            return line.isSet(tune) ? cipubookTune(dir, line.value(tune), out) : cipubookReport(dir, out);
        }
        const std::shared_ptr<const RhymeBooks> books = loadRhymeBooks(path);
        if (command == u"strains")
            return strains(*books);
        if (command == u"tangshi")
            return tangshi(books);
        if (command == u"cipu")
            return cipu(books);
        if (command == u"couplets")
            return evaluateCouplets(books, files.value(1, QStringLiteral("date/classics.db")), dist(),
                                    line.isSet(traditional), out);
        if (command == u"suggestions")
            return evaluateSuggestions(books, files.value(1, QStringLiteral("date/classics.db")), dist(),
                                       out);
        if (command == u"songci300")
            return evaluate::songci300(books, dist(), files.value(1, QStringLiteral("20")).toInt(),
                                       line.isSet(restored));
        if (command == u"readings")
            return auditReadings(books, files.value(1, QStringLiteral("date/classics.db")), out);
        if (command == u"against")
            return polyphonesAgainstEvidence(books, files.value(1, QStringLiteral("date/classics.db")), out);
        if (command == u"polyphones")
            return polyphones(books, dist(), out);
        if (command == u"slips")
            return slips(books, dist(), out);
        if (command == u"pasted")
            return pastedAnthology(books, dist(),
                                   line.isSet(clean)         ? PastedAs::Clean
                                   : line.isSet(traditional) ? PastedAs::Traditional
                                                             : PastedAs::Simplified,
                                   out);
        if (command == u"invariance")
            return evaluate::invariance(books, dist(),
                                        evaluate::corpora(line.value(corpus), line.isSet(held)), out);
    } catch (const std::exception &e) {
        QTextStream(stderr) << "shihai-evaluate: " << e.what() << Qt::endl;
        return 1;
    }
    return line.mistake(command.isEmpty() ? QStringLiteral("要一个衡量的项目")
                                          : QStringLiteral("不认识的项目「%1」").arg(command));
}

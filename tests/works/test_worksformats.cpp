// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/exportformat.h"
#include "presentation/works/importplan.h"
#include "presentation/works/importsource.h"
#include "presentation/works/markdownwriter.h"
#include "presentation/works/textimporter.h"
#include "presentation/works/textwriter.h"
#include "tests/faults/faultsupport.h"

#include <QBuffer>
#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

// The plain-text format read back by the importer, ordinary poem files, the files refused (and what
// is not a file at all), the Markdown, and the duplicates an import preview flags: without a database.
class TestWorksFormats : public QObject {
    Q_OBJECT

    using Works = QList<Work>;

    static QByteArray written(WorkWriter &&writer, const Works &works)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        writer.begin(&buffer);
        for (const Work &work : works)
            writer.write(work);
        writer.end();
        return buffer.data();
    }
    static Work work(const QString &title, const QString &text)
    {
        return {title, text, QStringLiteral("甲类"), QDate(2024, 3, 5)};
    }

private slots:
    void hostileWorksReadBackExactly_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QString control;
        for (char16_t c = 0; c < 0x20; ++c)
            control += QChar(c);
        control += QChar(0x7f);
        QTest::newRow("control characters")
            << QStringLiteral("题\x01目\x1b[31m") << control + QStringLiteral("春晓");
        QTest::newRow("10,000-character title") << QString(10000, u'长') << QStringLiteral("一句");
        QTest::newRow("emoji") << QStringLiteral("🌸 花 👨‍👩‍👧")
                               << QStringLiteral("春风🌬️拂面\n🇨🇳 家");
        QTest::newRow("beyond the BMP")
            << QStringLiteral("𠀀𪚥") << QStringLiteral("𬘩𰻞𰻞面\n𠮷野家");
        QTest::newRow("a series with blank lines")
            << QStringLiteral("巫山高二首") << QStringLiteral("其一\n巫山峰十二\n\n其二\n神女向高唐");
        QTest::newRow("empty lines at both ends") << QStringLiteral("空") << QStringLiteral("\n\n中间\n\n");
        QTest::newRow("blank lines of other spaces")
            << QStringLiteral("白") << QStringLiteral("甲\n  \n\t\n　\n乙");
        QTest::newRow("lines beginning with a backslash")
            << QStringLiteral("\\n 不是换行") << QStringLiteral("\\\n\\\\x41\n\\x");
        QTest::newRow("empty title") << QString() << QStringLiteral("无题之诗");
        QTest::newRow("blank title") << QStringLiteral("　") << QStringLiteral("一行");
        QTest::newRow("line breaks in the title") << QStringLiteral("上\n下\r\n完") << QStringLiteral("诗");
        QTest::newRow("byte order mark") << QStringLiteral("\uFEFF题") << QStringLiteral("\uFEFF诗");
        QTest::newRow("carriage returns") << QStringLiteral("回车") << QStringLiteral("甲\r\n乙\r");
        for (const faults::Hostile &h : faults::hostileTexts())
            QTest::newRow(h.name) << h.text << h.text;
    }
    // Each work is written between two ordinary ones, so that what surrounds it must survive too.
    void hostileWorksReadBackExactly()
    {
        QFETCH(QString, title);
        QFETCH(QString, text);
        const Works works = {work(QStringLiteral("静夜思"), QStringLiteral("床前明月光")), work(title, text),
                             work(QStringLiteral("春晓"), QStringLiteral("春眠不觉晓\n处处闻啼鸟"))};
        const QByteArray file = written(TextWriter(), works);
        for (const char *bad : {"\r", "\x00", "\x1b", "\x7f"})
            QVERIFY2(!file.contains(QByteArray(bad, 1)), "control characters are written as escapes");
        const TextImporter::Result read = TextImporter::read(file);
        QCOMPARE(read.refusal, QString());
        QCOMPARE(read.poems.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(read.poems[i].title, works[i].title);
            QCOMPARE(read.poems[i].text, works[i].text);
        }
    }

    // What a poet's own file looks like: byte order mark, CR LF, several blank lines or blank lines
    // of spaces between poems, indented lines, a title without a text.
    void ordinaryFilesReadAsTheyLook()
    {
        const QByteArray file = QStringLiteral("\uFEFF登鹳雀楼\r\n白日依山尽，\r\n黄河入海流。\r\n\r\n\r\n"
                                               "  \r\n相思\r\n　　红豆生南国\r\n \t\r\n诗集完\r\n")
                                    .toUtf8();
        const TextImporter::Result read = TextImporter::read(file);
        QCOMPARE(read.refusal, QString());
        QCOMPARE(read.encoding, QStringLiteral("UTF-8"));
        QCOMPARE(read.poems.size(), 3);
        QCOMPARE(read.poems[0].title, QStringLiteral("登鹳雀楼"));
        QCOMPARE(read.poems[0].text, QStringLiteral("白日依山尽，\n黄河入海流。"));
        QCOMPARE(read.poems[0].lineCount(), 2);
        QCOMPARE(read.poems[1].text, QStringLiteral("　　红豆生南国"));
        QCOMPARE(read.poems[2].title, QStringLiteral("诗集完"));
        QCOMPARE(read.poems[2].lineCount(), 0);
    }

    void otherEncodingsAreRecognised_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        const QString poem = QStringLiteral("静夜思\n床前明月光，疑是地上霜。\n\n鹿柴\n空山不见人𠀀");
        QStringEncoder gb("GB18030");
        QTest::newRow("GB 18030") << QByteArray(gb(poem)) << QStringLiteral("GB 18030");
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("UTF-16 with a mark") << QByteArray(utf16(poem)) << QStringLiteral("UTF-16LE");
    }
    void otherEncodingsAreRecognised()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        const TextImporter::Result read = TextImporter::read(bytes);
        QCOMPARE(read.refusal, QString());
        QCOMPARE(read.encoding, encoding);
        QCOMPARE(read.poems.size(), 2);
        QCOMPARE(read.poems[0].text, QStringLiteral("床前明月光，疑是地上霜。"));
        QCOMPARE(read.poems[1].text, QStringLiteral("空山不见人𠀀"));
    }

    void filesThatHoldNoPoemsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("空");
        QTest::newRow("only blank lines") << QByteArray("\n \r\n\t\n") << QStringLiteral("空");
        QTest::newRow("a picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                   << QStringLiteral("不是文本");
        QTest::newRow("neither UTF-8 nor GB 18030")
            << QByteArray("abc\xff\x80\xff", 6) << QStringLiteral("不是文本");
        QTest::newRow("control characters")
            << QByteArray("\x01\x02\x03\x04 ab\x05\x06\x07\x08") << QStringLiteral("不是文本");
        QTest::newRow("UTF-16 with half a surrogate pair")
            << QByteArray("\xff\xfe\x98\x98\n\0\x65\xde\xd7\x8b\n\0", 12) << QStringLiteral("不是文本");
        QTest::newRow("titles without lines") << QByteArray("甲\n\n乙\n\n丙\n") << QStringLiteral("没有像诗");
    }
    void filesThatHoldNoPoemsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const TextImporter::Result read = TextImporter::read(bytes);
        QVERIFY2(read.refusal.contains(reason), qPrintable(read.refusal));
        QVERIFY(!read.refusal.contains(u'\n'));
        QVERIFY(read.poems.isEmpty());
    }

    // The import takes a file from anywhere: only an ordinary file is read, and no more of it than
    // the limit; a link, a pipe with no writer or an endless device is refused at once.
    void onlyOrdinaryFilesAreRead_data()
    {
        QTest::addColumn<QString>("name");   // in a fresh folder, or an absolute path
        QTest::addColumn<QString>("reason"); // what the refusal says; empty when the file is read
        QTest::newRow("an ordinary file") << u"诗.txt"_s << QString();
        QTest::newRow("a link to it") << u"链接.txt"_s << u"符号链接（指向 "_s;
        QTest::newRow("a link to an endless device") << u"零.txt"_s << u"符号链接"_s;
        QTest::newRow("a pipe without a writer") << u"管道"_s << u"不是普通文件"_s;
        QTest::newRow("an endless device") << u"/dev/zero"_s << u"不是普通文件"_s;
        QTest::newRow("a folder") << u"文件夹"_s << u"文件夹"_s;
        QTest::newRow("larger than the limit") << u"大.txt"_s << u"太大"_s;
        QTest::newRow("missing") << u"无.txt"_s << u"不存在"_s;
    }
    void onlyOrdinaryFilesAreRead()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile poem(dir.filePath(u"诗.txt"_s));
        QVERIFY(poem.open(QIODevice::WriteOnly));
        poem.write(u"静夜思\n床前明月光\n"_s.toUtf8());
        poem.close();
        QVERIFY(QFile::link(poem.fileName(), dir.filePath(u"链接.txt"_s)));
        QVERIFY(QFile::link(u"/dev/zero"_s, dir.filePath(u"零.txt"_s)));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(u"管道"_s)).constData(), 0600), 0);
        QVERIFY(QDir(dir.path()).mkdir(u"文件夹"_s));
        QFile large(dir.filePath(u"大.txt"_s));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(TextImporter::maxBytes + 1));
        large.close();

        const TextImporter::Result read =
            TextImporter::readFile(name.startsWith(u'/') ? name : dir.filePath(name));
        if (reason.isEmpty()) {
            QCOMPARE(read.refusal, QString());
            QCOMPARE(read.poems.size(), 1);
        } else {
            QVERIFY2(read.refusal.contains(reason), qPrintable(read.refusal));
            QVERIFY(!read.refusal.contains(u'\n'));
            QVERIFY(read.poems.isEmpty());
        }
    }
    // Standard input has no size to look at first: it is read up to the limit and refused past it.
    void aStreamIsReadUpToTheLimit()
    {
        QByteArray bytes(100 * 1024, 'a');
        QBuffer stream(&bytes);
        stream.open(QIODevice::ReadOnly);
        QCOMPARE(importsource::fromDevice(stream, bytes.size()).bytes, bytes);
        stream.seek(0);
        const importsource::Bytes over = importsource::fromDevice(stream, bytes.size() - 1);
        QVERIFY2(over.refusal.contains(u"太大"_s), qPrintable(over.refusal));
        QVERIFY(over.bytes.isEmpty());
    }

    void markdownShowsEachWorkAsWritten()
    {
        const QString md = QString::fromUtf8(written(
            MarkdownWriter(),
            {work(QStringLiteral("*星* #1"), QStringLiteral("其一\n  床前_明月_光\n\n其二\n[链接](x)")),
             {QStringLiteral("无日期"), QStringLiteral("一句"), QString(), QDate()}}));
        QCOMPARE(md, QStringLiteral("## \\*星\\* \\#1\n\n*甲类 · 2024-03-05*\n\n"
                                    "其一  \n&#32;&#32;床前\\_明月\\_光\n\n其二  \n\\[链接\\]\\(x\\)\n"
                                    "\n## 无日期\n\n一句\n"));
    }

    // The save dialog's filter names the format; a suffix typed for another format overrides it.
    void theSaveDialogsAnswerNamesTheFormat_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("format");
        const QStringList f = exportformat::filters();
        QTest::newRow("no suffix") << u"/a/全部"_s << 2 << u"/a/全部.pdf"_s << int(ExportFormat::PdfVertical);
        QTest::newRow("its suffix") << u"/a/x.PDF"_s << 3 << u"/a/x.PDF"_s
                                    << int(ExportFormat::PdfHorizontal);
        QTest::newRow("another suffix") << u"/a/x.md"_s << 0 << u"/a/x.md"_s << int(ExportFormat::Markdown);
        QTest::newRow("a dot in the title")
            << u"/a/春.夜"_s << 1 << u"/a/春.夜.md"_s << int(ExportFormat::Markdown);
    }
    void theSaveDialogsAnswerNamesTheFormat()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, path);
        QFETCH(int, format);
        const exportformat::Target target = exportformat::fromDialog(typed, exportformat::filters()[filter]);
        QCOMPARE(target.path, path);
        QCOMPARE(int(target.format), format);
    }

    void duplicatesAreFlagged()
    {
        const Works stored = {work(QStringLiteral("静夜思"), QStringLiteral("床前明月光\n疑是地上霜")),
                              work(QStringLiteral("无题"), QString())};
        const QList<Poem> poems = {
            {QStringLiteral("静夜思（重录）"), QStringLiteral("床前明月光 \n\t疑是地上霜")},
            {QStringLiteral("无题"), QStringLiteral("新的一首")},
            {QStringLiteral("无题"), QString()},
            {QStringLiteral("又一首"), QStringLiteral("新的一首")}};
        const QList<ImportItem> items = importplan::plan(poems, stored);
        QList<bool> flagged;
        for (const ImportItem &item : items)
            flagged << item.duplicate;
        // The same text, white space aside; a title alone only without a text; earlier in the file too.
        QCOMPARE(flagged, (QList<bool>{true, false, true, true}));
        QCOMPARE(items[0].lines, 2);
        QCOMPARE(importplan::chosen(items, {3, 1, 3}).size(), 2);
        QCOMPARE(importplan::chosen(items, {3, 1}).first().title, QStringLiteral("无题"));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestWorksFormats tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "test_worksformats.moc"

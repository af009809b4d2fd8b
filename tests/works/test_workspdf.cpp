// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/fonts.h"
#include "pages/works/pdf/pagelayout.h"
#include "pages/works/pdf/writers.h"
#include "presentation/works/exportjob.h"
#include "presentation/works/work.h"
#include "tests/works/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using pagelayout::Role;

// The PDF of works: where the characters go on a page, vertically from the right or horizontally,
// and the file itself: a valid PDF with a page per work, in the program's Song font, and none at
// all when the export is cancelled or the disk is full.
class TestWorksPdf : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    static QList<pagelayout::Placed> of(const QList<pagelayout::Placed> &placed, Role role)
    {
        QList<pagelayout::Placed> out;
        for (const pagelayout::Placed &p : placed)
            if (p.role == role)
                out << p;
        return out;
    }
    // The pages of a PDF: pdfinfo where it is installed, else the page objects of the file.
    static int pagesOf(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !file.read(5).startsWith("%PDF-"))
            return -1;
        const QString pdfinfo = QStandardPaths::findExecutable(u"pdfinfo"_s);
        if (pdfinfo.isEmpty()) {
            static const QRegularExpression page(u"/Type\\s*/Page(?![s\\w])"_s);
            file.seek(0);
            return int(QString::fromLatin1(file.readAll()).count(page));
        }
        QProcess info;
        info.start(pdfinfo, {path});
        info.waitForFinished();
        const auto m =
            QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(QString::fromUtf8(info.readAllStandardOutput()));
        return info.exitCode() == 0 && m.hasMatch() ? m.captured(1).toInt() : -1;
    }
    QString exported(const QList<Work> &works, ExportFormat format, const QString &name)
    {
        const QString path = dir.filePath(name);
        ExportJob job(works, makeWriter(format), path);
        if (!job.open().isEmpty())
            return {};
        while (job.done() < job.total())
            job.step();
        return job.commit().isEmpty() ? path : QString();
    }

private slots:
    void initTestCase() { look::installFontSubstitutions(); }

    void verticalColumnsRunFromTheRight()
    {
        const Work work{u"春晓"_s, u"春眠不觉晓\n处处闻啼鸟"_s, u"甲类"_s, QDate(2024, 3, 15)};
        const pagelayout::Sizes sizes{QRectF(0, 0, 1000, 1000), 30, 20, 10};
        const auto placed = pagelayout::vertical(work, sizes);
        const auto title = of(placed, Role::Title);
        const auto text = of(placed, Role::Text);
        const auto date = of(placed, Role::Date);
        QCOMPARE(title.size(), 2);
        QCOMPARE(text.size(), 10);
        QCOMPARE(title[0].box.right(), 1000.0); // the title is the first column at the right edge
        QCOMPARE(title[0].box.top(), 0.0);
        QVERIFY(title[1].box.top() > title[0].box.top()); // its characters run down the column
        QCOMPARE(title[1].box.left(), title[0].box.left());
        // The text follows to its left, set apart by a rule down the whole page between.
        const auto rule = of(placed, Role::Rule);
        QCOMPARE(rule.size(), 1);
        QVERIFY(rule[0].box.left() < title[0].box.left() && rule[0].box.left() > text[0].box.right());
        QCOMPARE(rule[0].box.top(), 0.0);
        QCOMPARE(rule[0].box.bottom(), 1000.0);
        QCOMPARE(text[4].box.left(), text[0].box.left());
        QVERIFY(text[4].box.top() > text[0].box.top());
        QVERIFY(text[5].box.right() <= text[0].box.left()); // the second line is the next column
        QCOMPARE(text[5].box.top(), 0.0);
        QCOMPARE(text[5].text, u"处"_s);
        QCOMPARE(date.last().box.bottom(), 1000.0); // the date stands at the foot of the last column
        QVERIFY(date.last().box.right() <= text.last().box.left());
        QCOMPARE(pagelayout::dateText(work.date, true), u"二〇二四年三月十五日"_s);
        QCOMPARE(pagelayout::dateText(QDate(2031, 10, 20), true), u"二〇三一年十月二十日"_s);
        QCOMPARE(pagelayout::pageCount(placed), 1);
    }

    // Vertically, brackets and quotation marks are turned to their vertical forms and stops stand at
    // the upper right of their cells; each still takes a cell. Horizontally, all stay as typed.
    void verticalPunctuationIsSetAsInVerticalBooks_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("set");
        QTest::addColumn<bool>("upperRight");
        QTest::newRow("comma") << u"，"_s << u"︐"_s << true;
        QTest::newRow("full stop") << u"。"_s << u"︒"_s << true;
        QTest::newRow("pause") << u"、"_s << u"︑"_s << true;
        QTest::newRow("question") << u"？"_s << u"︖"_s << true;
        QTest::newRow("colon") << u"："_s << u"︓"_s << true;
        QTest::newRow("opening bracket") << u"（"_s << u"︵"_s << false;
        QTest::newRow("closing bracket") << u"）"_s << u"︶"_s << false;
        QTest::newRow("ascii bracket") << u"("_s << u"︵"_s << false;
        QTest::newRow("quotation mark") << u"“"_s << u"﹁"_s << false;
        QTest::newRow("inner quotation mark") << u"’"_s << u"﹄"_s << false;
        QTest::newRow("corner bracket") << u"」"_s << u"﹂"_s << false;
        QTest::newRow("title mark") << u"《"_s << u"︽"_s << false;
        QTest::newRow("ellipsis") << u"…"_s << u"︙"_s << false;
        QTest::newRow("dash") << u"—"_s << u"︱"_s << false;
        QTest::newRow("a character") << u"月"_s << u"月"_s << false;
        QTest::newRow("a flag") << u"🇨🇳"_s << u"🇨🇳"_s << false;
    }
    void verticalPunctuationIsSetAsInVerticalBooks()
    {
        QFETCH(QString, typed);
        QFETCH(QString, set);
        QFETCH(bool, upperRight);
        const Work work{u"题"_s, u"春"_s + typed + u"风"_s, u"甲类"_s, QDate()};
        const pagelayout::Sizes sizes{QRectF(0, 0, 1000, 1000), 30, 20, 10};
        const auto text = of(pagelayout::vertical(work, sizes), Role::Text);
        QCOMPARE(text.size(), 3);
        QCOMPARE(text[1].text, set);
        const QRectF before = text[0].box; // the cell of 春; the mark's cell is the next one down
        const QRectF cell = before.translated(0, before.height());
        QCOMPARE(text[2].box.top(), cell.bottom()); // the mark takes a whole cell
        if (upperRight) {
            QCOMPARE(int(text[1].fit), int(pagelayout::Fit::Ink));
            QCOMPARE(text[1].box.top(), cell.top());
            QCOMPARE(text[1].box.left(), cell.center().x());
            QVERIFY(text[1].box.right() <= cell.center().x() + sizes.textEm / 2 + 1e-9);
            QCOMPARE(text[1].box.bottom(), cell.center().y());
        } else {
            QCOMPARE(int(text[1].fit), int(pagelayout::Fit::Advance));
            QCOMPARE(text[1].box, cell);
        }
        auto advance = [](Role, const QString &run) { return 10.0 * run.size(); };
        QCOMPARE(of(pagelayout::horizontal(work, sizes, advance), Role::Text).first().text,
                 u"春"_s + typed + u"风"_s);
    }

    void longWorksContinueOnTheNextPage()
    {
        // Ten characters to a column, five columns to a page.
        const pagelayout::Sizes sizes{QRectF(0, 0, 5 * 17, 10 * 11.5), 10, 10, 10};
        const Work tall{QString(), QString(120, u'字'), QString(), QDate()};
        QCOMPARE(pagelayout::pageCount(pagelayout::vertical(tall, sizes)), 3);
        auto advance = [](Role, const QString &run) { return 10.0 * run.size(); };
        const Work wide{u"题"_s, QString(90, u'字'), QString(), QDate()};
        const auto lines = pagelayout::horizontal(wide, sizes, advance);
        const auto text = of(lines, Role::Text);
        QCOMPARE(text.size(), 12); // 8 characters to a line
        QCOMPARE(text[0].text.size(), 8);
        QCOMPARE(pagelayout::pageCount(lines), 2);
        // Control characters are not set; a character of several code points is one.
        QCOMPARE(pagelayout::characters(u"a\x01\tb🇨🇳𠀀"_s),
                 (QStringList{u"a"_s, u" "_s, u"b"_s, u"🇨🇳"_s, u"𠀀"_s}));
    }

    void aPdfHasAPagePerWork_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("vertical") << int(ExportFormat::PdfVertical);
        QTest::newRow("horizontal") << int(ExportFormat::PdfHorizontal);
    }
    void aPdfHasAPagePerWork()
    {
        QFETCH(int, format);
        QList<Work> works;
        for (int i = 0; i < 7; ++i)
            works << Work{u"第%1首"_s.arg(i + 1), u"白日依山尽，\n黄河入海流。\n🌸𠀀\x01"_s, u"甲类"_s,
                          QDate(2024, 1, i + 1)};
        const QString path = exported(works, ExportFormat(format), u"诗.pdf"_s);
        QVERIFY(!path.isEmpty());
        QCOMPARE(pagesOf(path), 7);
        // Set in the Song font as the program maps it, embedded.
        const QString pdffonts = QStandardPaths::findExecutable(u"pdffonts"_s);
        if (!pdffonts.isEmpty()) {
            QProcess fonts;
            fonts.start(pdffonts, {path});
            fonts.waitForFinished();
            QVERIFY(QString::fromUtf8(fonts.readAllStandardOutput()).contains(u"WenQuanYi"_s));
        }
        // No works: still a valid document.
        QCOMPARE(pagesOf(exported({}, ExportFormat(format), u"空.pdf"_s)), 1);

        // The disk fills up: the export is refused and leaves nothing.
        ExportJob full(works, makeWriter(ExportFormat(format)), dir.filePath(u"满.pdf"_s));
        QCOMPARE(full.open(), QString());
        QString refused;
        {
            const FileSizeLimit limit(4096);
            while (full.done() < full.total())
                full.step();
            refused = full.commit();
        }
        QVERIFY(!refused.isEmpty());

        // Cancelled half-way: nothing is left, not even the temporary file.
        ExportJob cancelled(works, makeWriter(ExportFormat(format)), dir.filePath(u"取消.pdf"_s));
        QCOMPARE(cancelled.open(), QString());
        cancelled.step();
        cancelled.cancel();
        QCOMPARE(QDir(dir.path()).entryList({u"取消*"_s, u"满*"_s}, QDir::Files | QDir::Hidden),
                 QStringList());
    }
};

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestWorksPdf tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "test_workspdf.moc"

#include "app/W_Unit.h"
#include "pages/about/aboutpage.h"
#include "pages/about/picture.h"
#include "pages/shared/statusbar.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>

#include <sqlite3.h>

#include <memory>

// 关于软件 in the whole window: its text, the status panels, the pictures and what their clicks open.
class TestAbout : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<WorkingDirectory> cwd;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<TW> w;
    QList<QUrl> opened;
    std::function<void(const QUrl &)> desktop;

    void showPage(int index)
    {
        w->findChild<QTabWidget *>(QStringLiteral("W_PageControl"))->setCurrentIndex(index);
    }
    QTextEdit *text() const { return w->findChild<QTextEdit *>(QStringLiteral("About_RichEdit")); }
    Picture *picture(const char *name) const { return w->findChild<Picture *>(QString::fromLatin1(name)); }

    static inline const char *const clickable[] = {"Image1", "Image9", "Image2", "Image3",
                                                   "Image4", "Image6", "Image7"};
    static inline const char *const plain[] = {"Image8", "Image12", "Image10", "Image5"};

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        desktop = AboutPage::openAddress;
        AboutPage::openAddress = [this](const QUrl &url) { opened << url; };
    }
    void cleanupTestCase() { AboutPage::openAddress = desktop; }
    void init()
    {
        fx = std::make_unique<Fixture>();
        cwd = std::make_unique<WorkingDirectory>(fx->dir());
        dialogs = std::make_unique<ScriptedDialogs>();
        w = std::make_unique<TW>();
        w->show();
        opened.clear();
    }
    void cleanup()
    {
        w.reset();
        dialogs.reset();
        cwd.reset();
        fx.reset();
    }

    void textHasItsThirtyThreeLines()
    {
        const QStringList lines = text()->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 33);
        const QStringList fixed = {"㈠：软件信息",
                                   "",
                                   "软件名称：诗海拾贝",
                                   "",
                                   "",
                                   "",
                                   "更新日期：2007-03-31",
                                   "",
                                   "软件宗旨：源码公开，共同完善。人人为我，我为人人",
                                   "",
                                   "展望未来：希望今后每位诗词爱好者都能喜欢上本软件",
                                   "",
                                   "",
                                   "",
                                   "相关教程：无",
                                   "",
                                   "",
                                   "㈡：作者信息",
                                   "",
                                   "软件作者：未署名",
                                   "",
                                   "个人网站：无",
                                   "",
                                   "网络地址：无",
                                   "",
                                   "联系邮箱：无",
                                   "",
                                   "",
                                   "㈢：备注信息",
                                   "",
                                   "即将添加：远程数据管理，在线升级功能",
                                   "",
                                   "急需资料：本软件目前缺少词组部分数据，有意提供者可与本人联系"};
        for (int i = 0; i < 33; ++i)
            if (i != 4 && i != 12)
                QCOMPARE(lines[i], fixed[i]);
        QCOMPARE(lines[0].at(0).unicode(), 0x3220);
        QCOMPARE(lines[17].at(0).unicode(), 0x3221);
        QCOMPARE(lines[28].at(0).unicode(), 0x3222);

        // The tool line names the libraries this run has loaded.
        QVERIFY(lines[4].startsWith(QStringLiteral("开发工具：C++20")));
        QVERIFY(lines[4].contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())));
        QVERIFY(lines[4].contains(QStringLiteral("SQLite ") + QString::fromLatin1(sqlite3_libversion())));

        // Line 13 writes, without its scheme, the address that Image4 opens.
        showPage(4);
        QTest::mouseClick(picture("Image4"), Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        const QString address = opened[0].toString(QUrl::RemoveScheme).mid(2);
        QVERIFY(lines[12].startsWith(QStringLiteral("下载页面：") + address));
    }

    void typedTextLastsForTheRunOnly()
    {
        showPage(4);
        QTextCursor cursor(text()->document());
        cursor.insertText(QStringLiteral("读后感"));
        showPage(2);
        showPage(4);
        QVERIFY(text()->toPlainText().startsWith(QStringLiteral("读后感㈠")));
        QVERIFY(!text()->isReadOnly());

        w.reset();
        w = std::make_unique<TW>();
        QVERIFY(text()->toPlainText().startsWith(QStringLiteral("㈠：软件信息\n")));
    }

    void showingThePageEmptiesTheConditionAndCounts()
    {
        showPage(2);
        QVERIFY(!w->statusPanels()->panelText(0).isEmpty());
        QVERIFY(!w->statusPanels()->panelText(1).isEmpty());
        showPage(4);
        QCOMPARE(w->statusPanels()->panelText(0), QString());
        QCOMPARE(w->statusPanels()->panelText(1), QString());
        QCOMPARE(w->statusPanels()->panelText(2), StatusBar::updateDate);
        QVERIFY(dialogs->calls.isEmpty());
    }

    void picturesSitInTheirColumn()
    {
        const int tops[] = {12, 53, 95, 137, 178, 220, 262, 303, 345, 387, 429};
        const char *const order[] = {"Image1", "Image9", "Image2",  "Image3",  "Image4", "Image6",
                                     "Image7", "Image8", "Image12", "Image10", "Image5"};
        QList<QImage> distinct;
        for (int i = 0; i < 11; ++i) {
            Picture *p = picture(order[i]);
            QVERIFY2(p, order[i]);
            QCOMPARE(p->parentWidget()->objectName(), QStringLiteral("Panel4"));
            QCOMPARE(p->geometry(), QRect(6, tops[i], 88, 31));
            const QImage image = p->pixmap().toImage();
            QCOMPARE(image.size(), QSize(88, 31));
            if (!distinct.contains(image))
                distinct << image;
        }
        QCOMPARE(distinct.size(), 8);
        const QImage shared = picture("Image8")->pixmap().toImage();
        for (const char *name : plain)
            QCOMPARE(picture(name)->pixmap().toImage(), shared);
    }

    void sevenPicturesOpenTheirAddressOncePerClick()
    {
        showPage(4);
        for (const char *name : clickable)
            QCOMPARE(picture(name)->cursor().shape(), Qt::PointingHandCursor);
        for (const char *name : plain) {
            QCOMPARE(picture(name)->cursor().shape(), Qt::ArrowCursor);
            QTest::mouseClick(picture(name), Qt::LeftButton);
        }
        QCOMPARE(opened, QList<QUrl>());

        for (const char *name : clickable)
            QTest::mouseClick(picture(name), Qt::LeftButton);
        QTest::mouseClick(picture("Image1"), Qt::LeftButton);
        QTest::mouseClick(picture("Image1"), Qt::RightButton);
        const QList<QUrl> expected = {
            QUrl(QStringLiteral("https://github.com/chinese-poetry/chinese-poetry")),
            QUrl(QStringLiteral("https://github.com/zh-lx/pinyin-pro")),
            QUrl(QStringLiteral("https://github.com/theajack/cnchar")),
            QUrl(QStringLiteral("https://github.com/BYVoid/OpenCC")),
            QUrl(QStringLiteral("https://www.unicode.org/Public/UCD/latest/ucd/")),
            QUrl(QStringLiteral("https://www.unicode.org/")),
            QUrl(QStringLiteral("https://www.unicode.org/charts/unihan.html")),
            QUrl(QStringLiteral("https://github.com/chinese-poetry/chinese-poetry")),
        };
        QCOMPARE(opened, expected);
        QCOMPARE(w->statusPanels()->panelText(0), QString());
    }
};

SHIHAI_TEST_MAIN(TestAbout)
#include "test_about.moc"

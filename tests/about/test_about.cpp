// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "pages/about/aboutpage.h"
#include "pages/about/picture.h"
#include "pages/shared/statusbar.h"
#include "presentation/aboutmodel.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QTextCursor>
#include <QTextEdit>

#include <memory>

// 关于软件 in the whole window: its text, the status panels, the pictures and what their clicks open.
class TestAbout : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> fx;
    QList<QUrl> opened;
    std::function<void(const QUrl &)> desktop;

    void showPage(int index) { fx->showPage(index); }
    QTextEdit *text() const { return fx->child<QTextEdit>(QStringLiteral("About_RichEdit")); }
    Picture *picture(const char *name) const
    {
        return fx->window()->findChild<Picture *>(QString::fromLatin1(name));
    }

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
        fx = std::make_unique<WindowFixture>();
        fx->open();
        opened.clear();
    }
    void cleanup() { fx.reset(); }

    // The page shows the program's text as the model writes it, one paragraph a line.
    void textIsTheModelsLines()
    {
        QCOMPARE(text()->toPlainText().split(u'\n'), AboutModel::lines());
        QCOMPARE(text()->toPlainText().split(u'\n').size(), 33);
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

        fx->drop();
        fx->open();
        QVERIFY(text()->toPlainText().startsWith(QStringLiteral("㈠：软件信息\n")));
    }

    void showingThePageEmptiesTheConditionAndCounts()
    {
        showPage(2);
        QVERIFY(!fx->panel(0).isEmpty());
        QVERIFY(!fx->panel(1).isEmpty());
        showPage(4);
        QCOMPARE(fx->panel(0), QString());
        QCOMPARE(fx->panel(1), QString());
        QCOMPARE(fx->panel(2), StatusBar::updateDate);
        QVERIFY(fx->dialogs->calls.isEmpty());
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
        QCOMPARE(fx->panel(0), QString());
    }
};

SHIHAI_TEST_MAIN(TestAbout)
#include "test_about.moc"

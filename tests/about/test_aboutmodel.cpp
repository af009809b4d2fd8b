// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/sqlite.h"
#include "presentation/aboutmodel.h"

#include <QSignalSpy>
#include <QTest>

// 关于软件 without widgets: the program's text and the addresses the pictures open.
class TestAboutModel : public QObject {
    Q_OBJECT

private slots:
    void textHasItsThirtyThreeLines()
    {
        const QStringList lines = AboutModel::lines();
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
        QVERIFY(lines[4].contains(QStringLiteral("SQLite ") + sqliteVersion()));

        // Line 13 writes, without its scheme, the address that Image4 opens.
        const QString address =
            AboutModel::addressOf(QStringLiteral("Image4")).toString(QUrl::RemoveScheme).mid(2);
        QVERIFY(!address.isEmpty());
        QVERIFY(lines[12].startsWith(QStringLiteral("下载页面：") + address));
    }

    // Seven pictures, in the column's order, open a page each; the others open nothing.
    void picturesOpenTheirPages()
    {
        QStringList pictures;
        QList<QUrl> addresses;
        for (const AboutModel::Link &link : AboutModel::links()) {
            pictures << link.picture;
            addresses << link.address;
            QCOMPARE(AboutModel::addressOf(link.picture), link.address);
        }
        QCOMPARE(pictures,
                 QStringList({"Image1", "Image9", "Image2", "Image3", "Image4", "Image6", "Image7"}));
        QCOMPARE(addresses, (QList<QUrl>{
                                QUrl(QStringLiteral("https://github.com/chinese-poetry/chinese-poetry")),
                                QUrl(QStringLiteral("https://github.com/zh-lx/pinyin-pro")),
                                QUrl(QStringLiteral("https://github.com/theajack/cnchar")),
                                QUrl(QStringLiteral("https://github.com/BYVoid/OpenCC")),
                                QUrl(QStringLiteral("https://www.unicode.org/Public/UCD/latest/ucd/")),
                                QUrl(QStringLiteral("https://www.unicode.org/")),
                                QUrl(QStringLiteral("https://www.unicode.org/charts/unihan.html")),
                            }));
        for (const char *plain : {"Image8", "Image12", "Image10", "Image5", "image1"})
            QVERIFY2(AboutModel::addressOf(QString::fromLatin1(plain)).isEmpty(), plain);
    }

    void showingEmptiesTheConditionAndCounts()
    {
        AboutModel model;
        QSignalSpy status(&model, &AboutModel::statusChanged);
        model.show();
        QCOMPARE(status.size(), 2);
        QCOMPARE(status[0], (QVariantList{0, QString()}));
        QCOMPARE(status[1], (QVariantList{1, QString()}));
    }
};

QTEST_GUILESS_MAIN(TestAboutModel)
#include "test_aboutmodel.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/aboutmodel.h"

#include "db/sqlite.h"

namespace {

const QUrl unihanDownloads(QStringLiteral("https://www.unicode.org/Public/UCD/latest/ucd/"));

QString withoutScheme(const QUrl &url)
{
    return url.host() + url.path();
}

QString compiler()
{
#if defined(__clang__)
    return QStringLiteral("Clang %1.%2.%3")
        .arg(__clang_major__)
        .arg(__clang_minor__)
        .arg(__clang_patchlevel__);
#elif defined(__GNUC__)
    return QStringLiteral("GCC %1.%2.%3").arg(__GNUC__).arg(__GNUC_MINOR__).arg(__GNUC_PATCHLEVEL__);
#else
    return QStringLiteral("C++ 编译器");
#endif
}

// The tools the program was built with; Qt and SQLite as loaded by this run.
QString toolchain()
{
    return QStringLiteral("C++20（%1）、Qt %2、SQLite %3、CMake %4")
        .arg(compiler(), QString::fromLatin1(qVersion()), sqliteVersion(),
             QStringLiteral(SHIHAI_CMAKE_VERSION));
}

} // namespace

AboutModel::AboutModel(QObject *parent)
    : QObject(parent)
{
}

// The public pages of the sources the dictionary is built from, and of the Unicode Consortium,
// whose Han database gives the readings of the rhyme tables.
const QList<AboutModel::Link> &AboutModel::links()
{
    static const QList<Link> table = {
        {QStringLiteral("Image1"), QUrl(QStringLiteral("https://github.com/chinese-poetry/chinese-poetry"))},
        {QStringLiteral("Image9"), QUrl(QStringLiteral("https://github.com/zh-lx/pinyin-pro"))},
        {QStringLiteral("Image2"), QUrl(QStringLiteral("https://github.com/theajack/cnchar"))},
        {QStringLiteral("Image3"), QUrl(QStringLiteral("https://github.com/BYVoid/OpenCC"))},
        {QStringLiteral("Image4"), unihanDownloads},
        {QStringLiteral("Image6"), QUrl(QStringLiteral("https://www.unicode.org/"))},
        {QStringLiteral("Image7"), QUrl(QStringLiteral("https://www.unicode.org/charts/unihan.html"))},
    };
    return table;
}

QUrl AboutModel::addressOf(const QString &picture)
{
    for (const Link &link : links())
        if (link.picture == picture)
            return link.address;
    return {};
}

QStringList AboutModel::lines()
{
    return {
        QStringLiteral("㈠：软件信息"),
        QString(),
        QStringLiteral("软件名称：诗海拾贝"),
        QString(),
        QStringLiteral("开发工具：") + toolchain(),
        QString(),
        QStringLiteral("更新日期：2007-03-31"),
        QString(),
        QStringLiteral("软件宗旨：源码公开，共同完善。人人为我，我为人人"),
        QString(),
        QStringLiteral("展望未来：希望今后每位诗词爱好者都能喜欢上本软件"),
        QString(),
        // The program has no download page of its own; this is where the Han database is downloaded.
        QStringLiteral("下载页面：%1（汉字读音数据 Unihan 的下载页面；本软件暂无单独的下载页面）")
            .arg(withoutScheme(unihanDownloads)),
        QString(),
        QStringLiteral("相关教程：无"),
        QString(),
        QString(),
        QStringLiteral("㈡：作者信息"),
        QString(),
        QStringLiteral("软件作者：未署名"),
        QString(),
        QStringLiteral("个人网站：无"),
        QString(),
        QStringLiteral("网络地址：无"),
        QString(),
        QStringLiteral("联系邮箱：无"),
        QString(),
        QString(),
        QStringLiteral("㈢：备注信息"),
        QString(),
        QStringLiteral("即将添加：远程数据管理，在线升级功能"),
        QString(),
        QStringLiteral("急需资料：本软件目前缺少词组部分数据，有意提供者可与本人联系"),
    };
}

void AboutModel::show()
{
    emit statusChanged(0, QString());
    emit statusChanged(1, QString());
}

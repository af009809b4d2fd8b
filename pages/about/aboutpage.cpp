#include "pages/about/aboutpage.h"

#include "pages/about/picture.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTextEdit>

#include <sqlite3.h>

namespace {

// The public pages of the sources the dictionary is built from, and of the Unicode Consortium,
// whose Han database gives the readings of the rhyme tables.
const QUrl poetryPage(QStringLiteral("https://github.com/chinese-poetry/chinese-poetry"));
const QUrl pinyinPage(QStringLiteral("https://github.com/zh-lx/pinyin-pro"));
const QUrl cncharPage(QStringLiteral("https://github.com/theajack/cnchar"));
const QUrl openccPage(QStringLiteral("https://github.com/BYVoid/OpenCC"));
const QUrl unihanDownloads(QStringLiteral("https://www.unicode.org/Public/UCD/latest/ucd/"));
const QUrl unicodeHome(QStringLiteral("https://www.unicode.org/"));
const QUrl unihanLookup(QStringLiteral("https://www.unicode.org/charts/unihan.html"));

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
        .arg(compiler(), QString::fromLatin1(qVersion()), QString::fromLatin1(sqlite3_libversion()),
             QStringLiteral(SHIHAI_CMAKE_VERSION));
}

} // namespace

std::function<void(const QUrl &)> AboutPage::openAddress = [](const QUrl &url) {
    QDesktopServices::openUrl(url);
};

QStringList AboutPage::lines()
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

AboutPage::AboutPage(StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_status(status)
{
    setObjectName(QStringLiteral("About"));
    resize(784, 518);

    Panel3 = new QLabel(QStringLiteral("软件架构基本完成，更多功能日后完善"), this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel3->setAlignment(Qt::AlignCenter);
    Panel3->setFont(look::songFont());
    look::setTextColor(Panel3, look::purple);
    Panel3->setGeometry(0, 0, 784, 40);

    About_RichEdit = new QTextEdit(this);
    About_RichEdit->setObjectName(QStringLiteral("About_RichEdit"));
    About_RichEdit->setGeometry(0, 40, 679, 478);
    About_RichEdit->setFont(look::songFont());
    About_RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    About_RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    About_RichEdit->setLineWrapMode(QTextEdit::WidgetWidth);
    QPalette palette = About_RichEdit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    palette.setColor(QPalette::Text, palette.color(QPalette::WindowText));
    About_RichEdit->setPalette(palette);
    About_RichEdit->setPlainText(lines().join(u'\n'));

    Panel4 = new QFrame(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel4->setGeometry(679, 40, 105, 478);

    const auto picture = [this](const char *name, const char *file, int top, bool clickable) {
        return new Picture(Panel4, QString::fromLatin1(name),
                           QStringLiteral(":/badges/%1").arg(QLatin1String(file)), 6, top, clickable);
    };
    Image1 = picture("Image1", "poetry.jpg", 12, true);
    Image9 = picture("Image9", "pinyin.jpg", 53, true);
    Image2 = picture("Image2", "cnchar.jpg", 95, true);
    Image3 = picture("Image3", "opencc.jpg", 137, true);
    Image4 = picture("Image4", "ucd.jpg", 178, true);
    Image6 = picture("Image6", "unicode.jpg", 220, true);
    Image7 = picture("Image7", "unihan.jpg", 262, true);
    Image8 = picture("Image8", "shihai.jpg", 303, false);
    Image12 = picture("Image12", "shihai.jpg", 345, false);
    Image10 = picture("Image10", "shihai.jpg", 387, false);
    Image5 = picture("Image5", "shihai.jpg", 429, false);
}

void AboutPage::AboutShow()
{
    m_status->setPanelText(0, QString());
    m_status->setPanelText(1, QString());
}

void AboutPage::Image1Click()
{
    openAddress(poetryPage);
}

void AboutPage::Image9Click()
{
    openAddress(pinyinPage);
}

void AboutPage::Image2Click()
{
    openAddress(cncharPage);
}

void AboutPage::Image3Click()
{
    openAddress(openccPage);
}

void AboutPage::Image4Click()
{
    openAddress(unihanDownloads);
}

void AboutPage::Image6Click()
{
    openAddress(unicodeHome);
}

void AboutPage::Image7Click()
{
    openAddress(unihanLookup);
}

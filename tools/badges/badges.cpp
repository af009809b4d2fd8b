// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the pictures of the page 关于软件: one badge for each data source the dictionary is built
// from, one for the Unicode site and one for the program itself, 88 by 31 pixels each.
//
// usage: shihai-badges FOLDER

#include "presentation/runtimefolder.h"
#include "tools/cli/commandline.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <cstdio>

namespace {

struct Badge {
    const char *file;
    QColor tag;        // the square on the left
    const char *glyph; // one or two characters in the square
    QColor field;      // the rest
    const char *line1;
    const char *line2; // may be empty
};

const Badge badges[] = {
    {"poetry.jpg", QColor(150, 30, 30), "诗", QColor(250, 240, 220), "chinese-", "poetry"},
    {"pinyin.jpg", QColor(30, 110, 60), "拼", QColor(230, 245, 230), "pinyin-pro", "读音 词组"},
    {"cnchar.jpg", QColor(200, 110, 20), "词", QColor(255, 245, 225), "cnchar", "成语 释义"},
    {"opencc.jpg", QColor(40, 70, 140), "繁简", QColor(230, 236, 250), "OpenCC", "繁简转换"},
    {"ucd.jpg", QColor(90, 60, 130), "下载", QColor(240, 234, 248), "Unihan", "数据下载"},
    {"unicode.jpg", QColor(190, 20, 40), "U", QColor(255, 255, 255), "Unicode", "统一码"},
    {"unihan.jpg", QColor(20, 100, 120), "字", QColor(228, 244, 246), "Unihan", "汉字数据库"},
    {"shihai.jpg", QColor(128, 0, 128), "诗", QColor(192, 220, 192), "诗海拾贝", "Shihai"},
};

QFont font(int pixels, bool bold)
{
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QImage draw(const Badge &b)
{
    QImage image(88, 31, QImage::Format_RGB32);
    image.fill(QColor(60, 60, 60));
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    // A one-pixel dark frame around a light inner edge, like the web buttons of the same size.
    p.fillRect(1, 1, 86, 29, Qt::white);
    p.fillRect(2, 2, 84, 27, b.field);
    const QString glyph = QString::fromUtf8(b.glyph);
    const int tagWidth = glyph.size() > 1 ? 30 : 25;
    p.fillRect(2, 2, tagWidth, 27, b.tag);

    p.setPen(Qt::white);
    p.setFont(font(glyph.size() > 1 ? 12 : 17, true));
    p.drawText(QRect(2, 2, tagWidth, 27), Qt::AlignCenter, glyph);

    const QRect text(tagWidth + 3, 2, 86 - tagWidth - 2, 27);
    p.setPen(b.tag.darker(150));
    const QString line2 = QString::fromUtf8(b.line2);
    if (line2.isEmpty()) {
        p.setFont(font(11, true));
        p.drawText(text, Qt::AlignCenter, QString::fromUtf8(b.line1));
    } else {
        p.setFont(font(11, true));
        p.drawText(text.adjusted(0, 1, 0, -13), Qt::AlignCenter, QString::fromUtf8(b.line1));
        p.setFont(font(10, false));
        p.drawText(text.adjusted(0, 14, 0, 0), Qt::AlignCenter, line2);
    }
    p.end();
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    cli::CommandLine line(QStringLiteral("shihai-badges"),
                          QStringLiteral("画出“关于软件”页的 88×31 小图，写成 FOLDER 中的 JPEG 文件。"));
    line.addUsage(QStringLiteral("FOLDER"));
    line.addArgument(QStringLiteral("FOLDER"), QStringLiteral("写入小图的文件夹（没有时建立）。"));
    if (const std::optional<int> done = line.parse(argc, argv))
        return *done;
    if (line.positional().size() != 1)
        return line.mistake(QStringLiteral("要一个文件夹"));
    // Drawing text needs a GUI application, but the build has no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const RuntimeFolder runtime;
    QGuiApplication app(argc, argv);
    const QString name = line.positional().first();
    const QDir folder(name);
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "shihai-badges: 无法建立文件夹 %s\n", qPrintable(name));
        return 1;
    }
    for (const Badge &b : badges) {
        const QString path = folder.filePath(QString::fromLatin1(b.file));
        if (!draw(b).save(path, "JPG", 92)) {
            std::fprintf(stderr, "shihai-badges: 无法写入 %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's icon: a scallop shell over the waves of a sea, on a teal ground. Writes the
// same drawing as shihai.svg and as PNG files in the sizes desktops use, so the two never differ.
//
// usage: shihai-icon FOLDER

#include "presentation/runtimefolder.h"
#include "tools/cli/commandline.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>

namespace {

constexpr double kCanvas = 256;
const QColor kSeaTop(42, 140, 150);
const QColor kSeaBottom(14, 74, 90);
const QColor kShell(246, 227, 196);
const QColor kShellEdge(185, 130, 79);
const QColor kRidge(201, 154, 106);
const QColor kWave(255, 255, 255, 150);

QPainterPath ground()
{
    QPainterPath p;
    p.addRoundedRect(QRectF(16, 16, 224, 224), 48, 48);
    return p;
}

QPainterPath wave(double y)
{
    QPainterPath p(QPointF(40, y));
    for (int i = 0; i < 4; ++i) {
        const double x = 40 + i * 44;
        p.cubicTo(QPointF(x + 11, y - 12), QPointF(x + 33, y - 12), QPointF(x + 44, y));
    }
    return p;
}

// The fan of the shell: seven lobes on an arc around the hinge, and the ridges between them.
constexpr QPointF kHinge(128, 176);
constexpr int kLobes = 7;
constexpr double kRadius = 96;

QPointF onArc(double fraction, double radius)
{
    const double angle = qDegreesToRadians(200.0 + 140.0 * fraction);
    return kHinge + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
}

QPainterPath shell()
{
    QPainterPath p(kHinge + QPointF(-14, 6));
    p.lineTo(onArc(0, kRadius));
    for (int i = 0; i < kLobes; ++i) {
        const QPointF bulge = onArc((i + 0.5) / kLobes, kRadius * 1.12);
        p.quadTo(bulge, onArc(double(i + 1) / kLobes, kRadius));
    }
    p.lineTo(kHinge + QPointF(14, 6));
    p.closeSubpath();
    return p;
}

QPainterPath ridges()
{
    QPainterPath p;
    for (int i = 1; i < kLobes; ++i) {
        p.moveTo(kHinge + QPointF(0, -6));
        p.lineTo(onArc(double(i) / kLobes, kRadius * 0.97));
    }
    return p;
}

// A path as SVG path data.
QString svgPath(const QPainterPath &path)
{
    QString d;
    const auto pt = [](const QPainterPath::Element &e) {
        return QStringLiteral("%1 %2").arg(e.x, 0, 'f', 2).arg(e.y, 0, 'f', 2);
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo())
            d += u'M' + pt(e) + u' ';
        else if (e.isLineTo())
            d += u'L' + pt(e) + u' ';
        else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            d += u'C' + pt(e) + u' ' + pt(path.elementAt(i + 1)) + u' ' + pt(path.elementAt(i + 2)) + u' ';
            i += 2;
        }
    }
    return d.trimmed();
}

QString rgb(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

QString svg()
{
    QString out;
    out += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                          "viewBox=\"0 0 256 256\">\n"
                          "  <defs><linearGradient id=\"sea\" x1=\"0\" y1=\"16\" x2=\"0\" y2=\"240\" "
                          "gradientUnits=\"userSpaceOnUse\">"
                          "<stop offset=\"0\" stop-color=\"%1\"/><stop offset=\"1\" "
                          "stop-color=\"%2\"/></linearGradient></defs>\n")
               .arg(rgb(kSeaTop), rgb(kSeaBottom));
    out += QStringLiteral("  <path d=\"%1\" fill=\"url(#sea)\"/>\n").arg(svgPath(ground()));
    for (double y : {196.0, 220.0})
        out +=
            QStringLiteral(
                "  <path d=\"%1\" fill=\"none\" stroke=\"#ffffff\" stroke-opacity=\"%2\" stroke-width=\"9\" "
                "stroke-linecap=\"round\"/>\n")
                .arg(svgPath(wave(y)))
                .arg(kWave.alphaF(), 0, 'f', 2);
    out += QStringLiteral(
               "  <path d=\"%1\" fill=\"%2\" stroke=\"%3\" stroke-width=\"5\" stroke-linejoin=\"round\"/>\n")
               .arg(svgPath(shell()), rgb(kShell), rgb(kShellEdge));
    out += QStringLiteral(
               "  <path d=\"%1\" fill=\"none\" stroke=\"%2\" stroke-width=\"4\" stroke-linecap=\"round\"/>\n")
               .arg(svgPath(ridges()), rgb(kRidge));
    out += QStringLiteral("</svg>\n");
    return out;
}

QImage png(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);
    QLinearGradient sea(0, 16, 0, 240);
    sea.setColorAt(0, kSeaTop);
    sea.setColorAt(1, kSeaBottom);
    p.fillPath(ground(), sea);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kWave, 9, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(wave(196));
    p.drawPath(wave(220));
    p.setPen(QPen(kShellEdge, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kShell);
    p.drawPath(shell());
    p.setPen(QPen(kRidge, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(ridges());
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    cli::CommandLine line(QStringLiteral("shihai-icon"),
                          QStringLiteral("画出程序的图标，写成 FOLDER 中的 shihai.svg 与各尺寸的 PNG。"));
    line.addUsage(QStringLiteral("FOLDER"));
    line.addArgument(QStringLiteral("FOLDER"), QStringLiteral("写入图标的文件夹（没有时建立）。"));
    if (const std::optional<int> done = line.parse(argc, argv))
        return *done;
    if (line.positional().size() != 1)
        return line.mistake(QStringLiteral("要一个文件夹"));
    const RuntimeFolder runtime;
    QGuiApplication app(argc, argv);
    const QDir dir(line.positional().first());
    if (!QDir().mkpath(dir.path()))
        return 1;
    QFile file(dir.filePath(QStringLiteral("shihai.svg")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(svg().toUtf8()) < 0)
        return 1;
    file.close();
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        if (!png(size).save(dir.filePath(QStringLiteral("shihai-%1.png").arg(size))))
            return 1;
    return 0;
}

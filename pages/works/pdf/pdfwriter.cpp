// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/works/pdf/pdfwriter.h"

#include "pages/shared/fonts.h"
#include "pages/works/pdf/pagelayout.h"
#include "presentation/works/work.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

#include <vector>

using pagelayout::Role;

namespace {

constexpr int resolution = 300; // dots per inch of the painter's coordinates
constexpr qreal marginMm = 15;
// Point sizes of the title, the text and the date.
constexpr qreal pointSizes[3] = {18, 14, 10};
constexpr qreal ruleMm = 0.2; // the line that sets a vertical title apart
// The smallest a long work is set to keep to one page, as a share of those sizes.
constexpr qreal minScale = 0.6;

qreal dots(qreal mm)
{
    return mm / 25.4 * resolution;
}

// Where to draw a glyph so that its shape is centred in its box; a shape larger than the box keeps
// to the box's top and right, whatever corner of the em its font draws it in.
QPointF inkOrigin(const QFontMetricsF &m, const pagelayout::Placed &p)
{
    const QRectF ink = m.tightBoundingRect(p.text); // from the origin on the baseline
    const qreal left =
        ink.width() <= p.box.width() ? p.box.center().x() - ink.width() / 2 : p.box.right() - ink.width();
    const qreal top = ink.height() <= p.box.height() ? p.box.center().y() - ink.height() / 2 : p.box.top();
    return {left - ink.left(), top - ink.top()};
}

} // namespace

PdfWriter::PdfWriter(bool vertical)
    : m_vertical(vertical)
{
}

PdfWriter::~PdfWriter()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

void PdfWriter::begin(QIODevice *out)
{
    // The document is made in memory and handed to the file whole at the end, where a file that
    // takes only part of it is noticed.
    m_out = out;
    m_document = std::make_unique<QBuffer>();
    m_document->open(QIODevice::WriteOnly);
    m_pdf = std::make_unique<QPdfWriter>(m_document.get());
    m_pdf->setResolution(resolution);
    m_pdf->setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF()));
    m_pdf->setTitle(QStringLiteral("诗海拾贝 · 作品"));
    m_pdf->setCreator(QStringLiteral("诗海拾贝"));
    for (QFont &font : m_fonts)
        font = look::songFont();
    m_fonts[int(Role::Title)].setBold(true);
    m_painter = std::make_unique<QPainter>();
    m_pages = 0;
}

// The fonts of the three roles at one scale, with their metrics on the PDF.
struct PdfWriter::Type {
    QFont fonts[3];
    std::vector<QFontMetricsF> metrics;
    pagelayout::Sizes sizes;
};

PdfWriter::Type PdfWriter::typeAt(qreal scale) const
{
    Type type;
    for (int role = 0; role < 3; ++role) {
        type.fonts[role] = m_fonts[role];
        type.fonts[role].setPointSizeF(pointSizes[role] * scale);
        type.metrics.emplace_back(type.fonts[role], m_pdf.get());
    }
    const QRectF sheet(QPointF(0, 0), QSizeF(m_pdf->width(), m_pdf->height()));
    const qreal margin = dots(marginMm);
    type.sizes = {sheet.adjusted(margin, margin, -margin, -margin), type.metrics[0].height(),
                  type.metrics[1].height(), type.metrics[2].height()};
    return type;
}

QList<pagelayout::Placed> PdfWriter::layOut(const Work &work, const Type &type) const
{
    if (m_vertical)
        return pagelayout::vertical(work, type.sizes);
    return pagelayout::horizontal(work, type.sizes, [&](Role role, const QString &run) {
        return type.metrics[int(role)].horizontalAdvance(run);
    });
}

void PdfWriter::write(const Work &work)
{
    if (m_pages == 0)
        m_painter->begin(m_pdf.get());
    // A work too long for its page is set smaller, so that it keeps to one page where it can.
    Type type = typeAt(1);
    QList<pagelayout::Placed> placed = layOut(work, type);
    for (qreal scale = 0.9; pagelayout::pageCount(placed) > 1 && scale >= minScale - 1e-9; scale -= 0.1) {
        Type smaller = typeAt(scale);
        QList<pagelayout::Placed> tried = layOut(work, smaller);
        if (pagelayout::pageCount(tried) == 1) {
            type = std::move(smaller);
            placed = std::move(tried);
        }
    }

    int page = -1;
    int role = -1;
    for (const pagelayout::Placed &p : placed) {
        while (page < p.page) {
            if (m_pages++ > 0)
                m_pdf->newPage();
            ++page;
        }
        if (p.role == Role::Rule) {
            m_painter->setPen(QPen(Qt::black, dots(ruleMm)));
            m_painter->drawLine(p.box.topLeft(), p.box.bottomLeft());
            continue;
        }
        if (role != int(p.role)) {
            role = int(p.role);
            m_painter->setFont(type.fonts[role]);
        }
        const QFontMetricsF &m = type.metrics[role];
        if (p.fit == pagelayout::Fit::Ink) {
            m_painter->drawText(inkOrigin(m, p), p.text);
            continue;
        }
        const qreal width = m.horizontalAdvance(p.text);
        qreal x = p.box.left();
        if (m_vertical || p.role == Role::Title)
            x = p.box.center().x() - width / 2;
        else if (p.role == Role::Date)
            x = p.box.right() - width;
        const qreal baseline = p.box.center().y() + (m.ascent() - m.descent()) / 2;
        m_painter->drawText(QPointF(x, baseline), p.text);
    }
    // A work with nothing to print still has its page.
    if (page < 0 && m_pages++ > 0)
        m_pdf->newPage();
}

void PdfWriter::end()
{
    if (m_pages == 0) // no work at all: an empty page keeps the document valid
        m_painter->begin(m_pdf.get());
    m_painter->end();
    m_painter.reset();
    m_pdf.reset();
    writeAll(m_out, m_document->data());
    m_document.reset();
}

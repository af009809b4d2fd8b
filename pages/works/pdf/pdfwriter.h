// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/works/pdf/pagelayout.h"
#include "presentation/works/workwriter.h"

#include <QFont>

#include <memory>

class QBuffer;
class QPainter;
class QPdfWriter;

// Works as a PDF, one work per page, set in the program's Song font on A5 pages, vertically from the
// right unless told to set them horizontally. A work too long for a page is set smaller, and one
// too long even then continues on the next pages. Needs a
// QGuiApplication (the offscreen platform serves without a display).
class PdfWriter : public WorkWriter {
public:
    explicit PdfWriter(bool vertical);
    ~PdfWriter() override;

    void begin(QIODevice *out) override;
    void write(const Work &work) override;
    void end() override;

    int pageCount() const { return m_pages; }

private:
    struct Type;
    Type typeAt(qreal scale) const;
    QList<pagelayout::Placed> layOut(const Work &work, const Type &type) const;

    bool m_vertical;
    QIODevice *m_out = nullptr;
    std::unique_ptr<QBuffer> m_document;
    std::unique_ptr<QPdfWriter> m_pdf;
    std::unique_ptr<QPainter> m_painter;
    QFont m_fonts[3]; // the family and weight of each pagelayout::Role
    int m_pages = 0;
};

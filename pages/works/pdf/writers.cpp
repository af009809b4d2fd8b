// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/works/pdf/writers.h"

#include "pages/works/pdf/pdfwriter.h"
#include "presentation/works/markdownwriter.h"
#include "presentation/works/textwriter.h"

std::unique_ptr<WorkWriter> makeWriter(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Text:
        return std::make_unique<TextWriter>();
    case ExportFormat::Markdown:
        return std::make_unique<MarkdownWriter>();
    case ExportFormat::PdfVertical:
        return std::make_unique<PdfWriter>(true);
    case ExportFormat::PdfHorizontal:
        break;
    }
    return std::make_unique<PdfWriter>(false);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/exportformat.h"

#include <QFileInfo>

namespace exportformat {

QString suffix(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Text:
        return QStringLiteral("txt");
    case ExportFormat::Markdown:
        return QStringLiteral("md");
    case ExportFormat::PdfVertical:
    case ExportFormat::PdfHorizontal:
        break;
    }
    return QStringLiteral("pdf");
}

QStringList filters()
{
    return {QStringLiteral("纯文本 (*.txt)"), QStringLiteral("Markdown (*.md)"),
            QStringLiteral("PDF 竖排 (*.pdf)"), QStringLiteral("PDF 横排 (*.pdf)")};
}

std::optional<ExportFormat> fromFilter(const QString &filter)
{
    const int at = int(filters().indexOf(filter));
    if (at < 0)
        return std::nullopt;
    return ExportFormat(at);
}

std::optional<ExportFormat> fromName(const QString &name, bool horizontal)
{
    const QString n = name.toLower();
    if (n == u"txt" || n == u"text")
        return ExportFormat::Text;
    if (n == u"md" || n == u"markdown")
        return ExportFormat::Markdown;
    if (n == u"pdf")
        return horizontal ? ExportFormat::PdfHorizontal : ExportFormat::PdfVertical;
    return std::nullopt;
}

QString withSuffix(const QString &path, ExportFormat format)
{
    const QString ending = u'.' + suffix(format);
    return path.endsWith(ending, Qt::CaseInsensitive) ? path : path + ending;
}

Target fromDialog(const QString &path, const QString &filter)
{
    ExportFormat format = fromFilter(filter).value_or(ExportFormat::Text);
    const QString typed = QFileInfo(path).suffix();
    if (const auto named = fromName(typed, format == ExportFormat::PdfHorizontal);
        named && typed.compare(suffix(format), Qt::CaseInsensitive) != 0)
        format = *named;
    return {withSuffix(path, format), format};
}

} // namespace exportformat

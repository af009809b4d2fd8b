// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The formats works are exported in: plain text, Markdown, and PDF typeset vertically (columns
// from the right, as printed poems are read) or horizontally.
enum class ExportFormat { Text, Markdown, PdfVertical, PdfHorizontal };

namespace exportformat {

// The file suffix, without the dot.
QString suffix(ExportFormat format);
// The filters of the save dialog, one per format in enum order, and the format of a chosen filter.
QStringList filters();
std::optional<ExportFormat> fromFilter(const QString &filter);
// A command-line name (txt, md, pdf); pdf is vertical unless `horizontal`.
std::optional<ExportFormat> fromName(const QString &name, bool horizontal = false);
// `path` with the format's suffix added unless it already ends in it.
QString withSuffix(const QString &path, ExportFormat format);

// What a save dialog's answer means: the format of the chosen filter, unless the name typed ends in
// another format's suffix; the path ends in the format's suffix.
struct Target {
    QString path;
    ExportFormat format;
};
Target fromDialog(const QString &path, const QString &filter);

} // namespace exportformat

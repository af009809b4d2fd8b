// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/dataversion.h"

#include <QDir>
#include <QFileInfo>

namespace builddb {

namespace {

// Raised whenever what the builder writes changes, so that the set-up rebuilds older files.
const QString kFormat = QStringLiteral("rhymebooks 16");

// "2 ... # Date: 2022-08-03 ..." — the first lines of a bzip2 file, without reading it whole.
QString unihanDate(const QString &path)
{
    const QByteArray head = readBzip2Head(path, 4096);
    const qsizetype at = head.indexOf("# Date:");
    if (at < 0)
        return QStringLiteral("undated");
    return QString::fromUtf8(head.mid(at + 7, head.indexOf('\n', at) - at - 7)).trimmed();
}

} // namespace

bool hasCipuBook(const SourcePaths &sources)
{
    return QFileInfo::exists(QDir(sources.cipuBook()).filePath(QStringLiteral("KR4j0086_001.txt")));
}

QList<std::pair<QString, QString>> sourceVersions(const SourcePaths &sources)
{
    return {
        {rhymebookpackages::guangyun, packageVersion(sources.nodeModule(rhymebookpackages::guangyun))},
        {rhymebookpackages::pinyin, packageVersion(sources.nodeModule(rhymebookpackages::pinyin))},
        {rhymebookpackages::poetry, packageVersion(sources.nodeModule(rhymebookpackages::poetry))},
        {QStringLiteral("Unihan"), unihanDate(sources.unihanFile(QStringLiteral("Unihan_Variants.txt.bz2")))},
        {QStringLiteral("OpenCC"), QStringLiteral(SHIHAI_OPENCC_VERSION)},
        {QStringLiteral("御定词谱"),
         hasCipuBook(sources) ? QStringLiteral("KR4j0086") : QStringLiteral("无")},
    };
}

QString rhymeBooksDataVersion(const SourcePaths &sources)
{
    QStringList parts = {kFormat};
    for (const auto &[name, version] : sourceVersions(sources))
        parts << name + u' ' + version;
    return parts.join(QStringLiteral("; "));
}

} // namespace builddb

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/unihanextra.h"

#include "tools/common/builderror.h"
#include "tools/common/unihanentries.h"

namespace builddb {

UnihanExtras readUnihanExtras(const SourcePaths &paths)
{
    UnihanExtras extras;
    const QString variantsPath = paths.unihanFile(QStringLiteral("Unihan_Variants.txt.bz2"));
    const QByteArray variants = readBzip2File(variantsPath);
    forEachUnihanEntry(variants, variantsPath, [&](char32_t cp, QByteArrayView field, QByteArrayView value) {
        QMultiHash<char32_t, char32_t> *target = nullptr;
        if (field == "kSimplifiedVariant")
            target = &extras.simplified;
        else if (field == "kTraditionalVariant")
            target = &extras.traditional;
        else if (field == "kSemanticVariant" || field == "kZVariant")
            target = &extras.variants;
        else if (field == "kSpecializedSemanticVariant")
            target = &extras.narrower;
        if (!target)
            return;
        // "U+6A2A U+6A6B<kMatthews,kMeyerWempe": the sources after < do not matter here.
        for (const QByteArray &item : value.toByteArray().split(' ')) {
            const qsizetype lt = item.indexOf('<');
            if (const std::optional<char32_t> other =
                    unihanCodePoint(lt < 0 ? QByteArrayView(item) : QByteArrayView(item).first(lt));
                other && *other != cp)
                target->insert(cp, *other);
        }
    });
    const QString readingsPath = paths.unihanFile(QStringLiteral("Unihan_Readings.txt.bz2"));
    forEachUnihanEntry(readBzip2File(readingsPath), readingsPath,
                       [&](char32_t cp, QByteArrayView field, QByteArrayView value) {
                           if (field == "kMandarin") {
                               const QByteArray first = value.toByteArray().split(' ').value(0);
                               if (const std::optional<Reading> r = parseReading(QString::fromUtf8(first)))
                                   extras.mandarin.insert(cp, *r);
                           } else if (field == "kCantonese") {
                               extras.cantonese.insert(
                                   cp, QString::fromLatin1(value).split(u' ', Qt::SkipEmptyParts));
                           }
                       });
    return extras;
}

} // namespace builddb

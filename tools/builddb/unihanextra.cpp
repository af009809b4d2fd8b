#include "tools/builddb/unihanextra.h"

#include "tools/builddb/builderror.h"

namespace builddb {

namespace {

std::optional<char32_t> codePoint(QByteArrayView text)
{
    bool ok = text.startsWith("U+");
    const char32_t cp = ok ? text.sliced(2).toByteArray().toUInt(&ok, 16) : 0;
    return ok ? std::optional<char32_t>(cp) : std::nullopt;
}

} // namespace

void forEachUnihanEntry(const QByteArray &text, const QString &file,
                        const std::function<void(char32_t, QByteArrayView, QByteArrayView)> &visit)
{
    qsizetype lineNo = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        const QByteArrayView line(text.constData() + start, end - start);
        start = end + 1;
        ++lineNo;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype tab1 = line.indexOf('\t');
        const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf('\t', tab1 + 1);
        const std::optional<char32_t> cp = tab1 < 0 ? std::nullopt : codePoint(line.first(tab1));
        if (tab2 < 0 || !cp)
            throw BuildError(
                file, QStringLiteral("line %1: expected a code point and two more tab-separated fields")
                          .arg(lineNo));
        visit(*cp, line.sliced(tab1 + 1, tab2 - tab1 - 1), line.sliced(tab2 + 1).trimmed());
    }
}

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
                    codePoint(lt < 0 ? QByteArrayView(item) : QByteArrayView(item).first(lt));
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

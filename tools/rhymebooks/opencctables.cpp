// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/opencctables.h"

#include "tools/common/builderror.h"

#include <opencc/Config.hpp>
#include <opencc/Conversion.hpp>
#include <opencc/ConversionChain.hpp>
#include <opencc/Converter.hpp>
#include <opencc/Dict.hpp>
#include <opencc/Exception.hpp>
#include <opencc/Lexicon.hpp>

#include <QSet>

namespace builddb {

namespace {

// The one character a UTF-8 string holds; 0 for a phrase.
char32_t single(const std::string &utf8)
{
    const QList<uint> ucs4 = QString::fromStdString(utf8).toUcs4();
    return ucs4.size() == 1 ? ucs4.front() : 0;
}

// One step of a chain: each single character of its dictionaries → its first value.
CharacterConversion stepOf(const opencc::Dict &dict)
{
    CharacterConversion step;
    const opencc::LexiconPtr lexicon = dict.GetLexicon(); // held: the loop would outlive a temporary
    for (const std::unique_ptr<opencc::DictEntry> &entry : *lexicon) {
        const char32_t from = single(entry->Key());
        const char32_t to = entry->NumValues() > 0 ? single(entry->GetDefault()) : 0;
        if (from && to && !step.contains(from))
            step.insert(from, to);
    }
    return step;
}

CharacterConversion conversionOf(const QString &config)
{
    QList<CharacterConversion> steps;
    try {
        opencc::Config loader;
        const opencc::ConverterPtr converter = loader.NewFromFile(config.toStdString());
        for (const opencc::ConversionPtr &conversion : converter->GetConversionChain()->GetConversions())
            steps.append(stepOf(*conversion->GetDict()));
    } catch (const opencc::Exception &e) {
        throw BuildError(config, QStringLiteral("OpenCC cannot load it: ") + QString::fromUtf8(e.what()));
    }
    QSet<char32_t> keys;
    for (const CharacterConversion &step : steps)
        for (auto it = step.constBegin(); it != step.constEnd(); ++it)
            keys.insert(it.key());
    CharacterConversion out;
    for (const char32_t key : keys) {
        char32_t c = key;
        for (const CharacterConversion &step : steps)
            c = step.value(c, c);
        if (c != key)
            out.insert(key, c);
    }
    return out;
}

} // namespace

QList<CharacterConversion> readOpenccConversions(const QStringList &configs)
{
    QList<CharacterConversion> out;
    for (const QString &config : configs)
        out.append(conversionOf(config));
    return out;
}

} // namespace builddb

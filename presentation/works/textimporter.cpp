// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/textimporter.h"

#include "presentation/works/importsource.h"
#include "presentation/works/plainlines.h"

#include <QStringDecoder>

#include <optional>

namespace {

struct Decoded {
    QString text;
    QString encoding;
};

std::optional<QString> decode(const QByteArray &bytes, const char *encoding)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// The text of the file, or nothing when it is neither UTF-8 nor GB 18030 (nor marked UTF-16/32), or
// not well formed in its encoding.
std::optional<Decoded> decodeText(const QByteArray &bytes)
{
    if (const auto marked = QStringConverter::encodingForData(bytes);
        marked && *marked != QStringConverter::Utf8) {
        QStringDecoder decoder(*marked, QStringDecoder::Flag::Stateless);
        QString text = decoder(bytes);
        // Qt's UTF-16 decoder lets a half of a surrogate pair through, which no other encoding
        // could store and the export could not give back.
        if (decoder.hasError() || !text.isValidUtf16())
            return std::nullopt;
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return Decoded{text, QString::fromLatin1(QStringConverter::nameForEncoding(*marked))};
    }
    if (bytes.contains('\0'))
        return std::nullopt; // a binary file, or UTF-16 without a mark
    if (auto text = decode(bytes, "UTF-8")) {
        if (text->startsWith(QChar(0xFEFF)))
            text->remove(0, 1);
        return Decoded{*text, QStringLiteral("UTF-8")};
    }
    if (auto text = decode(bytes, "GB18030"))
        return Decoded{*text, QStringLiteral("GB 18030")};
    return std::nullopt;
}

// Control characters other than line breaks, tabs and form feeds make up much of a binary file and
// little of any text.
bool looksBinary(const QString &text)
{
    qsizetype controls = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r' && u != u'\f' && u != u'\v') || u == 0x7f)
            ++controls;
    }
    return controls * 10 > text.size();
}

QList<Poem> poemsOf(const QString &text)
{
    QList<Poem> poems;
    QStringList block;
    auto flush = [&] {
        if (block.isEmpty())
            return;
        Poem poem{plainlines::readTitle(block.first()), QString()};
        QStringList lines;
        for (qsizetype i = 1; i < block.size(); ++i)
            lines << plainlines::readTextLine(block[i]);
        poem.text = lines.join(u'\n');
        poems << poem;
        block.clear();
    };
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1); // CR LF line ends
        // Before a title every blank line separates; inside a work the inner blank is a line of it.
        if (plainlines::isBlank(line) && (block.isEmpty() || plainlines::isSeparator(line)))
            flush();
        else
            block << line.toString();
    }
    flush();
    return poems;
}

} // namespace

int Poem::lineCount() const
{
    return text.isEmpty() ? 0 : int(text.count(u'\n')) + 1;
}

TextImporter::Result TextImporter::read(const QByteArray &bytes)
{
    Result result;
    const std::optional<Decoded> decoded = decodeText(bytes);
    if (!decoded) {
        result.refusal =
            QStringLiteral("这不是文本文件（不是 UTF-8、GB 18030 或带 BOM 的 UTF-16 编码的文字）。");
        return result;
    }
    result.encoding = decoded->encoding;
    if (plainlines::isBlank(decoded->text)) {
        result.refusal = QStringLiteral("文件是空的。");
        return result;
    }
    if (looksBinary(decoded->text)) {
        result.refusal = QStringLiteral("这不是文本文件（控制字符太多）。");
        return result;
    }
    result.poems = poemsOf(decoded->text);
    bool anyPoem = false;
    for (const Poem &poem : std::as_const(result.poems))
        anyPoem = anyPoem || !plainlines::isBlank(poem.text);
    if (!anyPoem) {
        result.poems.clear();
        result.refusal =
            QStringLiteral("文件中没有像诗的内容：每首诗的第一行是题目，下面是诗句，诗与诗之间空一行。");
    }
    return result;
}

TextImporter::Result TextImporter::readFile(const QString &path)
{
    return readSource(importsource::fromFile(path, maxBytes));
}

TextImporter::Result TextImporter::readDevice(QIODevice &device)
{
    return readSource(importsource::fromDevice(device, maxBytes));
}

TextImporter::Result TextImporter::readSource(const importsource::Bytes &source)
{
    if (!source.refusal.isEmpty()) {
        Result result;
        result.refusal = source.refusal;
        return result;
    }
    return read(source.bytes);
}

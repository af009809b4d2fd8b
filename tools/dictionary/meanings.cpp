// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dictionary/meanings.h"

#include "tools/common/builderror.h"
#include "tools/common/sources.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace builddb {

namespace {

// The symbols that stand for "。" plus the character after it.
QChar mergedStop(QChar c)
{
    switch (c.unicode()) {
    case u'◇':
        return u'后';
    case u'⊥':
        return u'和';
    case u'∠':
        return u'合';
    case u'◆':
        return u'呼';
    case u'●':
        return u'厚';
    case u'『':
        return u'汉';
    case u'〓':
        return u'湖';
    case u'∮':
        return u'河';
    case u'∥':
        return u'何';
    case u'≮':
        return u'黑';
    case u'≤':
        return u'很';
    case u'♂':
        return u'横';
    case u'♀':
        return u'衡';
    default:
        return {};
    }
}

QChar usualPunctuation(QChar c)
{
    switch (c.unicode()) {
    case u'﹐':
        return u'，';
    case u'﹑':
        return u'、';
    case u'﹕':
        return u'：';
    case u'﹔':
        return u'；';
    default:
        return c;
    }
}

QString circledNumber(int n)
{
    if (n >= 1 && n <= 20)
        return QChar(char16_t(0x2460 + n - 1));
    if (n >= 21 && n <= 35)
        return QChar(char16_t(0x3251 + n - 21));
    if (n >= 36 && n <= 50)
        return QChar(char16_t(0x32B1 + n - 36));
    return QStringLiteral("(%1)").arg(n);
}

// Splits "1.A 2.B 3.C" into its senses; a text that does not start with "1." is one sense.
QStringList senses(const QString &text)
{
    if (!text.startsWith(u"1."))
        return {text};
    QStringList out;
    qsizetype from = 2;
    for (int next = 2;; ++next) {
        const QString marker = QStringLiteral(" %1.").arg(next);
        qsizetype at = text.indexOf(marker, from);
        // "约 2.5千米" is a number, not a sense.
        while (at >= 0 && at + marker.size() < text.size() && text.at(at + marker.size()).isDigit())
            at = text.indexOf(marker, at + 1);
        if (at < 0) {
            out << text.mid(from).trimmed();
            return out;
        }
        out << text.mid(from, at - from).trimmed();
        from = at + marker.size();
    }
}

bool hasMissingGlyph(const QString &text)
{
    return text.contains(u'■') || text.contains(u'□');
}

QString resolve(const QHash<QString, QString> &cleaned, const QString &key, bool *followed)
{
    QString meaning = cleaned.value(key);
    QString current = key;
    // Follows a short chain (X → 见“Y” → 见“Z”) and stops on loops.
    for (int hop = 0; hop < 4; ++hop) {
        const QString target = referencedEntry(meaning);
        if (target.isEmpty() || target == current || target == key)
            break;
        const QString next = cleaned.value(target);
        if (next.isEmpty())
            break;
        meaning = next;
        current = target;
        *followed = true;
    }
    return meaning;
}

} // namespace

QString cleanMeaning(const QString &raw)
{
    QString text;
    text.reserve(raw.size() + 8);
    for (QChar c : raw) {
        if (c == u'\n' || c == u'\r')
            continue; // the source broke lines before every "N.", numbers like 2.5 included
        if (const QChar merged = mergedStop(c); !merged.isNull()) {
            text += u'。';
            text += merged;
        } else {
            text += usualPunctuation(c);
        }
    }

    if (const qsizetype quotes = text.count(u'"'); quotes > 0 && quotes % 2 == 0) {
        bool open = true;
        for (QChar &c : text) {
            if (c == u'"') {
                c = open ? u'“' : u'”';
                open = !open;
            }
        }
    }

    const QStringList parts = senses(text.trimmed());
    if (parts.size() == 1)
        return parts.first();
    QString out;
    for (qsizetype i = 0; i < parts.size(); ++i)
        out += circledNumber(int(i + 1)) + parts[i];
    return out;
}

QString referencedEntry(const QString &meaning)
{
    static const QRegularExpression onlyReference(QStringLiteral("^见“([^“”]+)”。?$"));
    const QRegularExpressionMatch match = onlyReference.match(meaning);
    return match.hasMatch() ? match.captured(1) : QString();
}

bool isChineseText(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const char32_t c : text.toUcs4()) {
        const bool han = (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
                         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3007;
        if (!han)
            return false;
    }
    return true;
}

QHash<QString, QString> readExplanations(const QString &dir)
{
    const QDir folder(dir);
    if (!folder.exists())
        throw BuildError(dir, QStringLiteral("missing"));
    const QStringList files = folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        throw BuildError(dir, QStringLiteral("holds no .json files"));

    QHash<QString, QString> entries;
    entries.reserve(300000);
    for (const QString &name : files) {
        const QString path = folder.filePath(name);
        const QJsonObject object = readJsonObject(path);
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            if (!it.value().isString())
                throw BuildError(path, QStringLiteral("the meaning of \"%1\" is not a text").arg(it.key()));
            entries.insert(it.key(), it.value().toString());
        }
    }
    return entries;
}

QStringList readIdiomList(const QString &packageDir)
{
    static const QString script =
        QStringLiteral("const m = require(process.argv[1]);"
                       "const list = m && m.dict && m.dict.idiom;"
                       "if (!Array.isArray(list)) { console.error('no dict.idiom list'); process.exit(2); }"
                       "process.stdout.write(JSON.stringify(list));");
    const QJsonDocument doc = readThroughNode(packageDir, script);
    if (!doc.isArray())
        throw BuildError(packageDir, QStringLiteral("its idiom list is not a JSON array"));
    QStringList idioms;
    for (const QJsonValue &value : doc.array()) {
        if (!value.isString())
            throw BuildError(packageDir, QStringLiteral("its idiom list holds a value that is not a text"));
        idioms << value.toString();
    }
    if (idioms.isEmpty())
        throw BuildError(packageDir, QStringLiteral("its idiom list is empty"));
    return idioms;
}

QStringList readModernWords(const QString &modernJson)
{
    return readJsonObject(modernJson).keys();
}

Lexicon buildLexicon(const QHash<QString, QString> &explanations, const QStringList &idioms,
                     const QStringList &modernWords)
{
    QHash<QString, QString> cleaned;
    cleaned.reserve(explanations.size());
    for (auto it = explanations.constBegin(); it != explanations.constEnd(); ++it)
        cleaned.insert(it.key(), cleanMeaning(it.value()));

    Lexicon lexicon;
    QSet<QString> idiomSet;
    for (const QString &idiom : idioms) {
        if (idiomSet.contains(idiom))
            continue;
        idiomSet.insert(idiom);
        bool followed = false;
        lexicon.idioms.append({idiom, resolve(cleaned, idiom, &followed)});
        lexicon.referencesResolved += followed;
    }

    const auto isWordShape = [](const QString &key) {
        const qsizetype length = key.toUcs4().size();
        return length >= 2 && length <= 4 && isChineseText(key);
    };
    for (auto it = explanations.constBegin(); it != explanations.constEnd(); ++it) {
        if (idiomSet.contains(it.key()) || !isWordShape(it.key()))
            continue;
        bool followed = false;
        const QString meaning = resolve(cleaned, it.key(), &followed);
        // Also when the glyph is lost in the entry a reference leads to.
        if (hasMissingGlyph(meaning))
            continue;
        lexicon.words.append({it.key(), meaning});
        lexicon.referencesResolved += followed;
    }
    for (const QString &word : modernWords) {
        if (explanations.contains(word) || idiomSet.contains(word) || !isWordShape(word))
            continue;
        lexicon.words.append({word, QString()});
        ++lexicon.wordsWithoutMeaning;
    }
    std::sort(lexicon.words.begin(), lexicon.words.end(),
              [](const Entry &a, const Entry &b) { return a.key < b.key; });
    return lexicon;
}

} // namespace builddb

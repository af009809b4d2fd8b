// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/gelv/suggest.h"

#include "classics/coupletpairs.h"
#include "classics/tianzi/caretplace.h"
#include "prosody/check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>

namespace gelvcli {

using namespace classics::tianzi;

namespace {

constexpr int kWords = 30;

void write(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

int fail(const QString &message)
{
    std::fprintf(stderr, "shihai-gelv: %s\n", message.toUtf8().constData());
    return 2;
}

QString exampleText(const ExampleLine &e)
{
    if (e.text.isEmpty())
        return {};
    return QStringLiteral("%1（%2《%3》）").arg(e.text, e.author, e.title);
}

// The caret before the place's character, or after the line's last; a place after the poem's last
// line is the start of a new line after it.
std::optional<int> caretOf(const prosody::Poem &poem, QString &text, SuggestAt at)
{
    const qsizetype n = poem.lines.size();
    if (at.line >= 1 && at.line <= n) {
        const prosody::Line &l = poem.lines.at(at.line - 1);
        if (at.place >= 1 && at.place <= l.size())
            return l.offsets.at(at.place - 1);
        if (at.place == l.size() + 1)
            return l.offsets.last() + l.width(l.size() - 1);
        return std::nullopt;
    }
    if (at.line != n + 1 || at.place != 1)
        return std::nullopt;
    text = text.left(poem.end);
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += u'\n';
    return int(text.size());
}

} // namespace

std::optional<SuggestAt> parseSuggestAt(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d+)\\s*[:：]\\s*(\\d+)\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return SuggestAt{m.captured(1).toInt(), m.captured(2).toInt()};
}

int suggest(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &classicsPath,
            const QString &text, const prosody::CheckRequest &request,
            const QList<prosody::PoemCheck> &checks, SuggestAt at, bool json)
{
    QString draft = text;
    const std::optional<int> caret = caretOf(checks.first().poem, draft, at);
    if (!caret)
        return fail(QStringLiteral("第一首诗没有第%1句第%2字这个位置").arg(at.line).arg(at.place));
    CaretWords found;
    try {
        const std::unique_ptr<Continuations> table = Continuations::open(classicsPath);
        std::unique_ptr<classics::CoupletPairs> pairs;
        try {
            pairs = classics::CoupletPairs::open(classicsPath);
        } catch (const classics::ClassicsError &) {
            // the words come all the same, without those set against the line above
        }
        const Suggester suggester(*table, books, pairs.get());
        const QList<prosody::PoemCheck> cut =
            draft == text ? checks : prosody::checkAs(books, draft, request).value();
        found = wordsAtCaret(suggester, books, draft, *caret, request, cut, kWords);
    } catch (const classics::ClassicsError &e) {
        return fail(e.message());
    }
    if (json) {
        QJsonArray words;
        for (const Suggestion &s : found.words)
            words.append(QJsonObject{{QStringLiteral("text"), s.text},
                                     {QStringLiteral("count"), s.count},
                                     {QStringLiteral("example"), exampleText(s.example)}});
        const QJsonObject o{{QStringLiteral("line"), at.line},
                            {QStringLiteral("place"), at.place},
                            {QStringLiteral("words"), words}};
        write(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)) + u'\n');
    } else {
        QString out = QStringLiteral("第%1句第%2字可填（%3）：\n")
                          .arg(at.line)
                          .arg(at.place)
                          .arg(found.place.pattern.isEmpty() ? QStringLiteral("体式未定，不限平仄")
                                                             : QStringLiteral("本句 ") + found.place.pattern);
        for (const Suggestion &s : found.words)
            out += QStringLiteral("%1%2\t%3\t%4\n")
                       .arg(s.text, s.parallel ? QStringLiteral("（对）") : QString())
                       .arg(s.count)
                       .arg(exampleText(s.example));
        if (found.words.isEmpty())
            out += QStringLiteral("古典诗词中没有合乎此处平仄与韵的字。\n");
        write(out);
    }
    return found.words.isEmpty() ? 1 : 0;
}

} // namespace gelvcli

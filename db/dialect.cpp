// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/dialect.h"

#include "db/dberror.h"

namespace dialect {
namespace {

bool isIdentifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c.unicode() >= 0x80;
}

// True when text[i] starts a named parameter as the engine reads it: ":", "@" or "#" before a name,
// even right after a word ("where@a"), or "$" before a name where it does not continue a word ("a$b"
// is one name).
bool isNamedParameter(const QString &text, qsizetype i)
{
    const QChar c = text[i];
    if (i + 1 >= text.size() || !isIdentifierChar(text[i + 1]))
        return false;
    if (c == u':' || c == u'@' || c == u'#')
        return true;
    return c == u'$' && (i == 0 || !isIdentifierChar(text[i - 1]));
}

// Appends the text of a quoted literal starting at text[i] (the opening quote). Returns the index
// after the closing quote, or -1 when the literal is not closed.
qsizetype readQuoted(const QString &text, qsizetype i, QString &value)
{
    const QChar quote = text[i];
    for (qsizetype j = i + 1; j < text.size(); ++j) {
        if (text[j] != quote) {
            value += text[j];
        } else if (j + 1 < text.size() && text[j + 1] == quote) {
            value += quote;
            ++j;
        } else {
            return j + 1;
        }
    }
    return -1;
}

// Index just past a span that runs from text[i] to the first `close` at or after `from`
// (or the end of the text).
qsizetype skipTo(const QString &text, qsizetype from, QStringView close)
{
    const qsizetype at = text.indexOf(close, from);
    return at < 0 ? text.size() : at + close.size();
}

} // namespace

Translated translate(const QString &text)
{
    Translated out;
    QString sql;
    sql.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        qsizetype next = i + 1;
        if (c == u'\'' || c == u'"') {
            QString value;
            next = readQuoted(text, i, value);
            if (next < 0) {
                // Unclosed: leave it to the engine, which reports the unrecognized token.
                sql += QStringView(text).mid(i);
                break;
            }
            sql += u'?';
            // ?NNN would be a numbered parameter: digits that follow stay a token of their own.
            if (next < text.size() && text[next] >= u'0' && text[next] <= u'9')
                sql += u' ';
            out.literals << value;
            i = next;
            continue;
        }
        if (c == u'[')
            next = skipTo(text, i + 1, u"]");
        else if (c == u'`')
            next = skipTo(text, i + 1, u"`");
        else if (c == u'-' && text.mid(i, 2) == u"--")
            next = skipTo(text, i + 2, u"\n");
        else if (c == u'/' && text.mid(i, 2) == u"/*")
            next = skipTo(text, i + 2, u"*/");
        else if (c == u'?' || isNamedParameter(text, i))
            throw DbError(QStringLiteral("Parameter markers are not allowed in a query text: %1").arg(text));
        sql += QStringView(text).mid(i, next - i);
        i = next;
    }
    // The engine stops reading at a NUL, and would silently drop the rest of the text.
    if (sql.contains(QChar(0)))
        throw DbError(QStringLiteral("A query text cannot hold a NUL character outside a literal."));
    out.sql = sql.toUtf8();
    return out;
}

QString literal(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace dialect

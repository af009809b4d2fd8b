// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/plainlines.h"

namespace plainlines {

namespace {

constexpr QChar escapeMark = u'\\';

// A control character other than the tab: never written as it is, so an exported file is plain text.
bool isControl(QChar c)
{
    return (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7f;
}

QString escaped(QStringView line)
{
    QString out(escapeMark);
    out.reserve(line.size() + 1);
    for (const QChar c : line) {
        if (c == escapeMark)
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (isControl(c))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
        else
            out += c;
    }
    return out;
}

bool isHexByte(QStringView digits)
{
    auto hex = [](QChar c) { return c.isDigit() || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); };
    return digits.size() == 2 && hex(digits[0]) && hex(digits[1]);
}

// The line after its escape mark; an unknown escape stands for itself.
QString unescaped(QStringView line)
{
    QString out;
    out.reserve(line.size());
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c != escapeMark || i + 1 == line.size()) {
            out += c;
            continue;
        }
        const QChar next = line[++i];
        if (next == u'n')
            out += u'\n';
        else if (next == u'r')
            out += u'\r';
        else if (next == escapeMark)
            out += escapeMark;
        else if (next == u'x' && i + 2 < line.size() && isHexByte(line.sliced(i + 1, 2))) {
            out += QChar(char16_t(line.sliced(i + 1, 2).toUShort(nullptr, 16)));
            i += 2;
        } else
            out += QString(escapeMark) + next;
    }
    return out;
}

bool needsEscape(QStringView line)
{
    // A byte order mark at the file's start is dropped as such.
    if (line.startsWith(escapeMark) || line.startsWith(QChar(0xFEFF)))
        return true;
    for (const QChar c : line)
        if (isControl(c))
            return true;
    return false;
}

} // namespace

bool isBlank(QStringView line)
{
    for (const QChar c : line)
        if (!c.isSpace())
            return false;
    return true;
}

bool isSeparator(QStringView line)
{
    return isBlank(line) && !(line.size() == 1 && line[0] == innerBlank);
}

QString titleLine(const QString &title)
{
    return isBlank(title) || needsEscape(title) ? escaped(title) : title;
}

QStringList textLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    QStringList out = text.split(u'\n');
    for (QString &line : out) {
        if (line.isEmpty())
            line = QString(innerBlank);
        else if (isBlank(line) || needsEscape(line))
            line = escaped(line);
    }
    return out;
}

QString readTitle(QStringView line)
{
    return line.startsWith(escapeMark) ? unescaped(line) : line.toString();
}

QString readTextLine(QStringView line)
{
    if (line.size() == 1 && line[0] == innerBlank)
        return {};
    return readTitle(line);
}

} // namespace plainlines

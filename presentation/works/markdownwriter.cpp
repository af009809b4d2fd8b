// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/markdownwriter.h"

#include "presentation/works/work.h"

#include <QIODevice>
#include <QStringList>

#include <utility>

namespace {

// Any ASCII punctuation may be escaped; escaping all of it keeps every context safe. Spaces and
// tabs at a line's start would make it code: they become character references.
QString inline_(QStringView line)
{
    QString out;
    out.reserve(line.size() + 8);
    bool leading = true;
    for (const QChar c : line) {
        if (leading && (c == u' ' || c == u'\t')) {
            out += c == u' ' ? QStringLiteral("&#32;") : QStringLiteral("&#9;");
            continue;
        }
        leading = false;
        if (c.unicode() < 0x80 && (c.isPunct() || c.isSymbol()))
            out += u'\\';
        out += c;
    }
    return out;
}

} // namespace

QString MarkdownWriter::format(const Work &work)
{
    // A heading is one line: line breaks in a title read as spaces.
    QString title = work.title;
    title.replace(u'\r', u' ').replace(u'\n', u' ');
    QStringList out{QStringLiteral("## ") +
                        (title.trimmed().isEmpty() ? QStringLiteral("（无题）") : inline_(title)),
                    QString()};
    QStringList about;
    if (!work.category.isEmpty())
        about << inline_(work.category);
    if (work.date.isValid())
        about << work.date.toString(Qt::ISODate);
    if (!about.isEmpty())
        out << QStringLiteral("*%1*").arg(about.join(QStringLiteral(" · "))) << QString();

    QStringList paragraph;
    auto flush = [&] {
        if (paragraph.isEmpty())
            return;
        out << paragraph.join(QStringLiteral("  \n")) << QString();
        paragraph.clear();
    };
    for (const QString &line : work.text.split(u'\n')) {
        if (line.trimmed().isEmpty())
            flush();
        else
            paragraph << inline_(line);
    }
    flush();
    return out.join(u'\n');
}

void MarkdownWriter::begin(QIODevice *out)
{
    m_out = out;
    m_first = true;
}

void MarkdownWriter::write(const Work &work)
{
    const QString separator = std::exchange(m_first, false) ? QString() : QStringLiteral("\n");
    writeAll(m_out, (separator + format(work)).toUtf8());
}

void MarkdownWriter::end()
{
    m_out = nullptr;
}

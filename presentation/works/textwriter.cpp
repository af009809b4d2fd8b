// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/textwriter.h"

#include "presentation/works/plainlines.h"
#include "presentation/works/work.h"

#include <QIODevice>

#include <utility>

QString TextWriter::format(const Work &work)
{
    QStringList lines = plainlines::textLines(work.text);
    lines.prepend(plainlines::titleLine(work.title));
    return lines.join(u'\n') + u'\n';
}

void TextWriter::begin(QIODevice *out)
{
    m_out = out;
    m_first = true;
}

void TextWriter::write(const Work &work)
{
    const QString separator = std::exchange(m_first, false) ? QString() : QStringLiteral("\n");
    writeAll(m_out, (separator + format(work)).toUtf8());
}

void TextWriter::end()
{
    m_out = nullptr;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/core/variants.h"

#include "db/sqlite.h"

namespace prosody {

Variants::Variants(QHash<char32_t, char32_t> standard)
    : m_standard(std::move(standard))
{
}

Variants Variants::read(const SqliteFile &file)
{
    QHash<char32_t, char32_t> table;
    Statement exists(file,
                     QByteArrayLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = '异体'"));
    if (!exists.step())
        return {};
    Statement rows(file, QByteArrayLiteral("SELECT 字, 正字 FROM 异体"));
    table.reserve(16384);
    rows.forEachRow([&](const Statement &s) {
        const char32_t c = s.character(0), standard = s.character(1);
        if (c && standard && c != standard)
            table.insert(c, standard);
    });
    return Variants(std::move(table));
}

QList<char32_t> Variants::standard(const QList<char32_t> &chars) const
{
    if (m_standard.isEmpty())
        return chars;
    QList<char32_t> out;
    out.reserve(chars.size());
    for (char32_t c : chars)
        out.append(standard(c));
    return out;
}

QString Variants::standard(const QString &text) const
{
    if (m_standard.isEmpty())
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1)), ++i;
        const char32_t s = standard(c);
        out += s > 0xFFFF ? QString::fromUcs4(&s, 1) : QString(QChar(char16_t(s)));
    }
    return out;
}

} // namespace prosody

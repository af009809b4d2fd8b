// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/restore.h"

namespace evaluate {

namespace {

// The Chinese characters of a text, punctuation and notes' brackets left out.
QList<char32_t> charactersOf(const QStringList &paragraphs)
{
    QList<char32_t> out;
    for (const QString &p : paragraphs)
        for (char32_t c : p.toUcs4())
            if (QChar::category(c) == QChar::Letter_Other)
                out.append(c);
    return out;
}

bool isSubsequence(const QList<char32_t> &part, const QList<char32_t> &whole)
{
    qsizetype j = 0;
    for (char32_t c : whole)
        if (j < part.size() && part[j] == c)
            ++j;
    return j == part.size();
}

} // namespace

Restorer::Restorer(const QList<builddb::CorpusCi> &corpus)
{
    for (const builddb::CorpusCi &ci : corpus)
        m_byAuthor[ci.author].append({charactersOf(ci.paragraphs), ci.paragraphs});
}

std::optional<QStringList> Restorer::restored(const QString &author, const QStringList &paragraphs) const
{
    const QList<char32_t> chars = charactersOf(paragraphs);
    for (const Text &t : m_byAuthor.value(author)) {
        const qsizetype lost = t.chars.size() - chars.size();
        if (lost >= 1 && lost <= kMaxLost && isSubsequence(chars, t.chars))
            return t.paragraphs;
    }
    return std::nullopt;
}

QString Restorer::added(const QStringList &anthology, const QStringList &restored)
{
    const QList<char32_t> part = charactersOf(anthology);
    QList<char32_t> extra;
    qsizetype j = 0;
    for (char32_t c : charactersOf(restored)) {
        if (j < part.size() && part[j] == c)
            ++j;
        else
            extra.append(c);
    }
    return QString::fromUcs4(extra.constData(), extra.size());
}

} // namespace evaluate

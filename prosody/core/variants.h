// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>

class SqliteFile;

namespace prosody {

// Characters as written and the standard characters they stand for: traditional forms (衆 → 众,
// 樣 → 样), old forms of the Qing prints (栁 → 柳) and other variants, as the table 异体 of the reference
// files holds them. A lookup of a character, a word or a couplet's units goes through it; the text
// itself stays as written. A standard character stands for itself.
class Variants {
public:
    Variants() = default;
    explicit Variants(QHash<char32_t, char32_t> standard);
    // The table 异体(字, 正字) of an open file; empty for a file built before the table was kept.
    // Throws DbError when the table is there but cannot be read.
    static Variants read(const SqliteFile &file);

    char32_t standard(char32_t c) const { return m_standard.value(c, c); }
    QList<char32_t> standard(const QList<char32_t> &chars) const;
    QString standard(const QString &text) const;
    bool isEmpty() const { return m_standard.isEmpty(); }
    qsizetype size() const { return m_standard.size(); }
    const QHash<char32_t, char32_t> &table() const { return m_standard; }

private:
    QHash<char32_t, char32_t> m_standard;
};

} // namespace prosody

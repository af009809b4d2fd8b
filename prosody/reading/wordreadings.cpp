// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/reading/wordreadings.h"

#include "db/dberror.h"
#include "db/sqlite.h"

namespace prosody {

WordReadings::WordReadings() = default;

WordReadings::WordReadings(std::unique_ptr<SqliteFile> file)
    : m_file(std::move(file))
{
    try {
        m_lookup =
            std::make_unique<Statement>(*m_file, QByteArrayLiteral("SELECT 拼音 FROM 词音 WHERE 词 = ?1"));
    } catch (const DbError &) {
        // An older file without the word list: polyphones stay 中.
    }
}

WordReadings::~WordReadings() = default;

QString WordReadings::reading(const QString &word) const
{
    const std::lock_guard lock(m_mutex);
    const auto it = m_known.constFind(word);
    if (it != m_known.constEnd())
        return *it;
    QString reading;
    if (m_lookup) {
        try {
            m_lookup->bindText(1, word);
            if (m_lookup->step())
                reading = m_lookup->text(0);
            m_lookup->reset();
        } catch (const DbError &) {
            m_lookup.reset(); // a file gone bad since: polyphones stay 中
        }
    }
    m_known.insert(word, reading);
    return reading;
}

} // namespace prosody

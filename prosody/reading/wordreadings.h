// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

#include <memory>
#include <mutex>

class SqliteFile;
class Statement;

namespace prosody {

// The words of the reference file that settle a polyphone's reading (词音: "长安" → "cháng ān"), looked
// up through the file's own index as they are asked for and remembered. Safe to share between threads.
class WordReadings {
public:
    // Takes the open reference file; without the table, every word is unknown.
    explicit WordReadings(std::unique_ptr<SqliteFile> file);
    WordReadings();
    ~WordReadings();

    // The reading of a word, syllables separated by blanks; empty when the word is not known.
    QString reading(const QString &word) const;

private:
    mutable std::mutex m_mutex;
    std::unique_ptr<SqliteFile> m_file;
    mutable std::unique_ptr<Statement> m_lookup;
    mutable QHash<QString, QString> m_known; // words asked for so far, found or not
};

} // namespace prosody

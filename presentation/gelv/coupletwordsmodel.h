// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/gelv/coupletwordssource.h"

#include <memory>

namespace classics {
class Classics;
class CoupletPairs;
} // namespace classics

// The 对仗 tab of the 格律 window without widgets: for a word of one to four characters, the words the
// middle couplets of the classics set against it, best first, each with its count and its first
// couplet, whose poem opens on a double-click.
class CoupletWordsModel : public CoupletWordsSource {
    Q_OBJECT
public:
    explicit CoupletWordsModel(QObject *parent = nullptr, int limit = 30);

    // The pairs and the poems once the file is opened; null pairs, with why (an older file names the
    // command that rebuilds it), when they could not be.
    void setSources(std::shared_ptr<const classics::CoupletPairs> pairs,
                    std::shared_ptr<const classics::Classics> classics, const QString &error);

    // Looks up a word (its Chinese characters); the same word again looks up nothing.
    void setWord(const QString &text);
    // The unit of the rhythm around the caret (0-based UTF-16 offset) in its line of verse: 明月 with the
    // caret after 明 or 月 of 明月松间照; empty when the caret is at no verse.
    static QString wordAt(const QString &text, int caret);

    QString word() const override { return m_word; }
    QString summary() const override;
    QList<Row> rows() const override { return m_rows; }
    std::optional<ExamplesSource::PoemPage> poemPage(int row) const override;
    void lookUpTyped(const QString &text) override { setWord(text); }

private:
    void lookUp();

    std::shared_ptr<const classics::CoupletPairs> m_pairs;
    std::shared_ptr<const classics::Classics> m_classics;
    QString m_error;
    int m_limit;
    QString m_word;
    QList<Row> m_rows;
    QList<qint64> m_couplets; // each row's example couplet
};

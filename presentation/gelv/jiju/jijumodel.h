// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classics/lines/linepatterns.h"
#include "presentation/gelv/jiju/jijusource.h"

#include <QList>

#include <functional>
#include <memory>

namespace prosody {
class RhymeBooks;
}

// The 集句 of the 格律 window without widgets: the verse lines of the classics of a 平仄 pattern, a
// rhyme group, characters at places, a dynasty and a poet, counted by dynasty and brought in page by
// page, in the book the window checks in.
class JijuModel : public JijuSource {
    Q_OBJECT
public:
    explicit JijuModel(int pageSize = 50, QObject *parent = nullptr);

    // The lines by tones and the poems, once opened (null, with why, when they could not be); the
    // last search runs again.
    void setSources(std::shared_ptr<const classics::LinePatterns> patterns,
                    std::shared_ptr<const classics::Classics> classics, const QString &error);
    void setBooks(std::shared_ptr<const prosody::RhymeBooks> books);
    // The window's book: the classes and groups are of it; the last search runs again in it.
    void setBook(prosody::Book book);
    prosody::Book book() const { return m_book; }
    // Where the pattern of the line at the caret comes from.
    void setPatternHere(std::function<QString()> patternHere) { m_patternHere = std::move(patternHere); }

    QStringList rhymeGroups() const override;
    QStringList dynasties() const override;
    QString patternHere() const override { return m_patternHere ? m_patternHere() : QString(); }

    void search(const JijuForm &form) override;
    // The query the last form was read as; nullopt when it held a mistake or nothing to search.
    const std::optional<classics::LineQuery> &query() const { return m_query; }
    QString summary() const override;
    const QList<classics::PatternLine> &rows() const { return m_rows; }
    int rowCount() const override { return int(m_rows.size()); }
    QString rowText(int row) const override;
    QString rowToolTip(int row) const override;
    bool canFetchMore() const override;
    void fetchMore() override;
    std::optional<ExamplesSource::PoemPage> poemPage(int row) const override;

private:
    void run();

    int m_pageSize;
    std::shared_ptr<const classics::LinePatterns> m_patterns;
    std::shared_ptr<const classics::Classics> m_classics;
    std::shared_ptr<const prosody::RhymeBooks> m_books;
    QString m_error;   // the file could not be read
    QString m_mistake; // the form could not be read
    prosody::Book m_book = prosody::Book::Pingshui;
    std::function<QString()> m_patternHere;
    JijuForm m_form;
    std::optional<classics::LineQuery> m_query;
    classics::Counts m_counts;
    QList<classics::PatternLine> m_rows;
};

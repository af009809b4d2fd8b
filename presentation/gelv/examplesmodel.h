// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classics/classics.h"
#include "presentation/gelv/examplessource.h"

#include <QList>
#include <QString>

#include <memory>

// The 例句 of the 格律 window without widgets: the lines of the classics holding a text, counted by
// dynasty and brought in page by page as the user scrolls, and the whole poem of a line.
class ExamplesModel : public ExamplesSource {
    Q_OBJECT
public:
    ExamplesModel(std::shared_ptr<const classics::Classics> classics, const QString &error, int pageSize = 50,
                  QObject *parent = nullptr);

    // The classics once they are opened (null, with why, when they could not be): the text is
    // searched again.
    void setClassics(std::shared_ptr<const classics::Classics> classics, const QString &error);
    // Why there are no examples when the classics could not be read (one line, with the command
    // that builds the file); empty when they could.
    QString errorText() const { return m_error; }

    // Searches the text; an unchanged text searches nothing again.
    void setText(const QString &text);
    QString text() const { return m_text; }
    // "「明月」共 3456 句：唐 2900 · 宋 556", or why there is nothing to show.
    QString summary() const override;
    const QList<classics::Example> &rows() const { return m_rows; }
    int rowCount() const override { return int(m_rows.size()); }
    bool canFetchMore() const override;
    void fetchMore() override;
    std::optional<classics::Poem> poemOf(int row) const;

    QString rowText(int row) const override;
    QString rowToolTip(int row) const override;
    std::optional<PoemPage> poemPage(int row) const override;

private:
    void search();

    std::shared_ptr<const classics::Classics> m_classics;
    QString m_error;
    int m_pageSize;
    QString m_text;
    classics::Counts m_counts;
    QList<classics::Example> m_rows;
};

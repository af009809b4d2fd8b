#pragma once

#include "classics/classics.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

// The 例句 of the 格律 window without widgets: the lines of the classics holding a text, counted by
// dynasty and brought in page by page as the user scrolls, and the whole poem of a line.
class ExamplesModel : public QObject {
    Q_OBJECT
public:
    ExamplesModel(std::shared_ptr<const classics::Classics> classics, const QString &error, int pageSize = 50,
                  QObject *parent = nullptr);

    // Why there are no examples when the classics could not be read (one line, with the command
    // that builds the file); empty when they could.
    QString errorText() const { return m_error; }

    // Searches the text; an unchanged text searches nothing again.
    void setText(const QString &text);
    QString text() const { return m_text; }
    // "「明月」共 3456 句：唐 2900 · 宋 556", or why there is nothing to show.
    QString summary() const;
    const QList<classics::Example> &rows() const { return m_rows; }
    bool canFetchMore() const;
    void fetchMore();
    std::optional<classics::Poem> poemOf(int row) const;

    // A row as the list shows it, "line　——author《title》", and its tip.
    QString rowText(int row) const;
    QString rowToolTip(int row) const;
    // The whole poem of a row as its window shows it.
    struct PoemPage {
        QString title; // "title · author"
        QString html;  // title, dynasty and author, the lines, the notes and the source
    };
    std::optional<PoemPage> poemPage(int row) const;

signals:
    void reset(); // a new text: the rows start again
    void rowsAdded(int from);

private:
    std::shared_ptr<const classics::Classics> m_classics;
    QString m_error;
    int m_pageSize;
    QString m_text;
    classics::Counts m_counts;
    QList<classics::Example> m_rows;
};

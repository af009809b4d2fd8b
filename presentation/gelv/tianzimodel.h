// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/gelv/tianzisource.h"
#include "prosody/findings/poemcheck.h"
#include "prosody/request/checkrequest.h"

#include <memory>

namespace classics {
class CoupletPairs;
namespace tianzi {
class Continuations;
}
} // namespace classics
namespace prosody {
class RhymeBooks;
}

// The 填字 tab of the 格律 window without widgets: at the caret of the draft, the words the classics
// write at that place of the line, fitting the form's 平仄 and the poem's rhyme, best first; each tried
// by the check before it is offered, so that none puts in a new fault.
class TianziModel : public TianziSource {
    Q_OBJECT
public:
    explicit TianziModel(QObject *parent = nullptr, int limit = 30);

    // The table once the file is opened; null, with why (an older file names the command that rebuilds
    // it), when it could not be. The pairs may be null: the words set against the line above then
    // do not come first.
    void setSources(std::shared_ptr<const classics::tianzi::Continuations> table,
                    std::shared_ptr<const classics::CoupletPairs> pairs, const QString &error);
    void setBooks(std::shared_ptr<const prosody::RhymeBooks> books);
    // The draft, the caret in it (UTF-16 offset) and the check of that draft as the window made it,
    // with the request it was made for. The same again computes nothing.
    void follow(const QString &text, int caret, const QList<prosody::PoemCheck> &checks,
                const prosody::CheckRequest &request);

    // Only a tab in view computes its list: a keystroke with the tab hidden costs nothing here. Made
    // active, it catches up with the caret.
    void setActive(bool active);
    bool isActive() const { return m_active; }

    QString summary() const override { return m_summary; }
    QList<Row> rows() const override { return m_rows; }

private:
    void refresh();
    void suggest(const QString &text, int caret, const QList<prosody::PoemCheck> &checks,
                 const prosody::CheckRequest &request);

    std::shared_ptr<const classics::tianzi::Continuations> m_table;
    std::shared_ptr<const classics::CoupletPairs> m_pairs;
    std::shared_ptr<const prosody::RhymeBooks> m_books;
    QString m_error;
    int m_limit;
    QString m_text;
    int m_caret = -1;
    prosody::CheckRequest m_request;
    QList<prosody::PoemCheck> m_checks;
    bool m_active = false;
    bool m_stale = false; // the caret moved since the list was made
    QString m_summary;
    QList<Row> m_rows;
};

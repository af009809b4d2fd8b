// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/checkmodel.h"

#include "prosody/check.h"
#include "prosody/couplet/duilian.h"
#include "prosody/text/reader.h"

#include <algorithm>

using namespace prosody;

namespace {

// Whether the span holds at least one whole line of verse of the text: a selection that does is
// meant to be checked; a shorter one was made to look something up.
bool holdsWholeLine(const QString &text, int from, int to)
{
    for (const Poem &poem : readPoems(text))
        for (const Line &line : poem.lines)
            if (line.size() > 0 && line.offsets.first() >= from &&
                line.offsets.last() + line.width(line.size() - 1) <= to)
                return true;
    return false;
}

} // namespace

CheckModel::CheckModel(QObject *parent)
    : QObject(parent)
{
}

void CheckModel::setBooks(std::shared_ptr<const RhymeBooks> books)
{
    m_books = std::move(books);
    recheck();
}

void CheckModel::setPairs(std::shared_ptr<const PairSource> pairs)
{
    m_pairs = std::move(pairs);
    recheck();
}

void CheckModel::setRequest(const CheckRequest &request)
{
    if (request == m_request)
        return;
    m_request = request;
    recheck();
}

void CheckModel::setDraft(const QString &text, int selectionStart, int selectionEnd)
{
    int from = std::clamp(std::min(selectionStart, selectionEnd), 0, int(text.size()));
    int to = std::clamp(std::max(selectionStart, selectionEnd), 0, int(text.size()));
    if (from != to && !holdsWholeLine(text, from, to))
        from = to = 0;
    const QString checked = from == to ? text : text.mid(from, to - from);
    if (checked == m_checkedText && (from == to ? 0 : from) == m_checkedFrom && !m_checks.isEmpty())
        return;
    m_checkedText = checked;
    m_checkedFrom = from == to ? 0 : from;
    recheck();
}

void CheckModel::recheck()
{
    m_checks = m_books
                   ? checkAs(m_books, m_checkedText, m_request, m_pairs.get()).value_or(QList<PoemCheck>())
                   : QList<PoemCheck>();
    emit checksChanged();
}

QList<CheckModel::FindingRow> CheckModel::findingRows() const
{
    QList<FindingRow> rows;
    for (qsizetype poem = 0; poem < m_checks.size(); ++poem) {
        const PoemCheck &check = m_checks.at(poem);
        for (const Finding &f : check.findings) {
            // Where the draft holds several poems, "第3句" says which poem's.
            const QString text = m_checks.size() < 2 ? f.text
                                 : check.form == duilianForm
                                     ? QStringLiteral("第%1副：%2").arg(poem + 1).arg(f.text)
                                     : QStringLiteral("第%1首：%2").arg(poem + 1).arg(f.text);
            FindingRow row{text, f.severity, m_checkedFrom + check.poem.start,
                           check.poem.end - check.poem.start};
            if (f.line > 0 && f.line <= check.lines.size()) {
                const Line &line = check.lines.at(f.line - 1).line;
                if (f.pos > 0 && f.pos <= line.size()) {
                    row.start = m_checkedFrom + line.offsets.at(f.pos - 1);
                    row.length = line.width(f.pos - 1);
                } else {
                    row.start = m_checkedFrom + line.offsets.first();
                    row.length = line.offsets.last() + line.width(line.size() - 1) - line.offsets.first();
                }
            }
            rows.append(row);
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const FindingRow &a, const FindingRow &b) {
        return int(a.severity) < int(b.severity);
    });
    return rows;
}

QStringList CheckModel::summaries() const
{
    QStringList out;
    // In 自动 with no book chosen a 词 is judged in 词林正韵, not the 平水韵 the selector shows: say so.
    const Book shown = m_request.book.value_or(Book::Pingshui);
    for (const PoemCheck &check : m_checks)
        out << (check.book == shown ? check.summary()
                                    : QStringLiteral("%1 · 按%2").arg(check.summary(), bookName(check.book)));
    return out;
}

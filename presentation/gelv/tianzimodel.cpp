// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/tianzimodel.h"

#include "classics/classics.h"
#include "classics/coupletpairs.h"
#include "classics/tianzi/caretplace.h"
#include "classics/tianzi/continuations.h"

using namespace classics::tianzi;

namespace {

// What the place asks, in words: "仄", "平 · 押下平七阳".
QString demandOf(const Place &place, const prosody::RhymeBooks &books)
{
    const QChar want = place.place < place.pattern.size() ? place.pattern.at(place.place) : QChar(u'中');
    QString out = want == u'中' ? QStringLiteral("可平可仄") : QString(want);
    if (place.rhymed && place.place == place.length - 1)
        out += place.rhymeGroup >= 0
                   ? QStringLiteral(" · 押%1").arg(books.groups(place.book).at(place.rhymeGroup).name)
                   : QStringLiteral(" · 韵脚");
    return out;
}

} // namespace

TianziModel::TianziModel(QObject *parent, int limit)
    : TianziSource(parent)
    , m_limit(limit)
{
    m_summary = QStringLiteral("把光标放在要写的地方，这里列出古人在此处常用、合乎平仄与韵的字词。");
}

void TianziModel::setSources(std::shared_ptr<const Continuations> table,
                             std::shared_ptr<const classics::CoupletPairs> pairs, const QString &error)
{
    m_table = std::move(table);
    m_pairs = std::move(pairs);
    m_error = error;
    if (!m_table) {
        m_rows.clear();
        m_summary = m_error;
        emit changed();
    }
}

void TianziModel::setBooks(std::shared_ptr<const prosody::RhymeBooks> books)
{
    m_books = std::move(books);
}

void TianziModel::follow(const QString &text, int caret, const QList<prosody::PoemCheck> &checks,
                         const prosody::CheckRequest &request)
{
    if (text == m_text && caret == m_caret && request == m_request && !m_stale)
        return;
    m_text = text;
    m_caret = caret;
    m_request = request;
    m_checks = checks;
    m_stale = true;
    refresh();
}

void TianziModel::setActive(bool active)
{
    m_active = active;
    refresh();
}

void TianziModel::refresh()
{
    if (!m_active || !m_stale || !m_table || !m_books || m_caret < 0)
        return;
    m_stale = false;
    suggest(m_text, m_caret, m_checks, m_request);
    emit changed();
}

void TianziModel::suggest(const QString &text, int caret, const QList<prosody::PoemCheck> &checks,
                          const prosody::CheckRequest &request)
{
    m_rows.clear();
    try {
        const Suggester suggester(*m_table, m_books, m_pairs.get());
        const CaretWords found = wordsAtCaret(suggester, m_books, text, caret, request, checks, m_limit);
        for (const Suggestion &s : found.words) {
            const QString whose = s.example.author.isEmpty()
                                      ? QString()
                                      : QStringLiteral("%1《%2》 · ").arg(s.example.author, s.example.title);
            m_rows.append({s.text, s.count, s.example.text,
                           whose + (s.parallel ? QStringLiteral("古人律诗中与上句之词相对 · 双击填入")
                                               : QStringLiteral("双击填入")),
                           s.parallel, found.place.lead + s.text});
        }
        const QString where = QStringLiteral("第%1句第%2字").arg(found.where.line).arg(found.where.place);
        if (found.place.length > 0 && found.place.place >= found.place.length)
            m_summary = QStringLiteral("%1：本句已满。").arg(where);
        else if (m_rows.isEmpty())
            m_summary = QStringLiteral("%1（%2）：古典诗词中没有合乎此处平仄与韵的字。")
                            .arg(where, demandOf(found.place, *m_books));
        else
            m_summary =
                QStringLiteral("%1（%2）可填，古人常用的在前：").arg(where, demandOf(found.place, *m_books));
    } catch (const classics::ClassicsError &e) {
        m_summary = e.message();
    }
}

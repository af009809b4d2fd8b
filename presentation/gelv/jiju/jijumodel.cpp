// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/jiju/jijumodel.h"

#include "classics/lines/patterntext.h"
#include "presentation/gelv/poempage.h"
#include "prosody/core/books.h"

using namespace classics;

JijuModel::JijuModel(int pageSize, QObject *parent)
    : JijuSource(parent)
    , m_pageSize(pageSize)
{
}

void JijuModel::setSources(std::shared_ptr<const LinePatterns> patterns,
                           std::shared_ptr<const Classics> classics, const QString &error)
{
    m_patterns = std::move(patterns);
    m_classics = std::move(classics);
    m_error = error;
    emit choicesChanged();
    run();
}

void JijuModel::setBooks(std::shared_ptr<const prosody::RhymeBooks> books)
{
    m_books = std::move(books);
    m_form.rhymeGroup = -1;
    emit choicesChanged();
    run();
}

void JijuModel::setBook(prosody::Book book)
{
    if (book == m_book)
        return;
    m_book = book;
    // The groups are the new book's: the one chosen in the old book means nothing there.
    m_form.rhymeGroup = -1;
    emit choicesChanged();
    run();
}

QStringList JijuModel::rhymeGroups() const
{
    QStringList out;
    if (m_books)
        for (const prosody::RhymeBooks::Group &g : m_books->groups(m_book))
            out << g.name;
    return out;
}

QStringList JijuModel::dynasties() const
{
    return m_patterns ? m_patterns->dynasties() : QStringList();
}

void JijuModel::search(const JijuForm &form)
{
    m_form = form;
    run();
}

void JijuModel::run()
{
    m_query.reset();
    m_mistake.clear();
    m_counts = {};
    m_rows.clear();
    const ParsedPattern pattern = parsePattern(m_form.pattern);
    const ParsedPlaces places = parsePlaces(m_form.places);
    if (!pattern.error.isEmpty()) {
        m_mistake = pattern.error;
    } else if (!places.error.isEmpty()) {
        m_mistake = places.error;
    } else if (pattern.pattern.isEmpty() && places.at.isEmpty() && m_form.rhymeGroup < 0) {
        // Nothing asked: every line of the classics would come.
    } else {
        LineQuery query;
        query.pattern = pattern.pattern;
        query.book = m_book;
        query.at = places.at;
        if (m_form.rhymeGroup >= 0 && m_form.rhymeGroup < rhymeGroups().size())
            query.rhymeGroup = m_form.rhymeGroup;
        query.dynasty = m_form.dynasty.trimmed();
        query.author = m_form.author.trimmed();
        for (const CharAt &a : query.at)
            if (!query.pattern.isEmpty() && a.place >= query.pattern.size())
                m_mistake = QStringLiteral("第 %1 字超出了 %2 个字位的格式")
                                .arg(a.place + 1)
                                .arg(query.pattern.size());
        if (m_mistake.isEmpty())
            m_query = query;
    }
    if (m_query && m_patterns) {
        try {
            m_counts = m_patterns->count(*m_query);
            m_rows = m_patterns->lines(*m_query, 0, m_pageSize);
        } catch (const ClassicsError &e) {
            m_error = e.message();
        }
    }
    emit reset();
}

QString JijuModel::summary() const
{
    if (!m_error.isEmpty())
        return m_error;
    if (!m_mistake.isEmpty())
        return m_mistake;
    if (!m_query)
        return QStringLiteral("写出平仄格式（平、仄、中，或 ○ ● ◎），如 仄仄平平仄仄平，可再限定韵部、"
                              "某位置的字（5=月）、朝代和作者；「取当前句」取光标所在句的格式。");
    QStringList asked{m_query->pattern.isEmpty() ? QStringLiteral("不限字数")
                                                 : patternText(m_query->pattern)};
    if (m_query->rhymeGroup)
        asked << QStringLiteral("韵 %1").arg(rhymeGroups().value(*m_query->rhymeGroup));
    for (const CharAt &a : m_query->at)
        asked << QStringLiteral("%1=%2").arg(a.place + 1).arg(QString::fromUcs4(&a.hanzi, 1));
    if (!m_query->dynasty.isEmpty())
        asked << m_query->dynasty;
    if (!m_query->author.isEmpty())
        asked << m_query->author;
    const QString head = QStringLiteral("「%1」（%2）")
                             .arg(asked.join(QStringLiteral(" · ")), prosody::bookName(m_query->book));
    if (m_counts.lines == 0)
        return head + QStringLiteral("：全唐诗、宋词中没有这样的句子");
    QStringList parts;
    for (const DynastyCount &d : m_counts.byDynasty)
        parts << QStringLiteral("%1 %2").arg(d.dynasty).arg(d.lines);
    return head + QStringLiteral("共 %1 句：%2").arg(m_counts.lines).arg(parts.join(QStringLiteral(" · ")));
}

QString JijuModel::rowText(int row) const
{
    const PatternLine &l = m_rows.at(row);
    return QStringLiteral("%1　——%2《%3》").arg(l.text, l.author, l.title);
}

QString JijuModel::rowToolTip(int row) const
{
    const PatternLine &l = m_rows.at(row);
    return QStringLiteral("%1\n%2 · %3 · 双击看全诗").arg(l.entry, l.dynasty, l.author);
}

bool JijuModel::canFetchMore() const
{
    return m_patterns && m_query && m_rows.size() < m_counts.lines;
}

void JijuModel::fetchMore()
{
    if (!canFetchMore())
        return;
    const int from = int(m_rows.size());
    try {
        m_rows += m_patterns->lines(*m_query, from, m_pageSize);
    } catch (const ClassicsError &e) {
        m_error = e.message();
        m_counts.lines = from; // nothing more can come
    }
    if (m_rows.size() > from)
        emit rowsAdded(from);
}

std::optional<ExamplesSource::PoemPage> JijuModel::poemPage(int row) const
{
    if (!m_classics || row < 0 || row >= m_rows.size())
        return std::nullopt;
    try {
        if (const std::optional<Poem> poem = m_classics->poem(m_rows.at(row).poem))
            return poemPageOf(*poem);
    } catch (const ClassicsError &) {
    }
    return std::nullopt;
}

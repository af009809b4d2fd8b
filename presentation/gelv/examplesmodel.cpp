// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/examplesmodel.h"

#include "presentation/gelv/poempage.h"

using namespace classics;

ExamplesModel::ExamplesModel(std::shared_ptr<const Classics> classics, const QString &error, int pageSize,
                             QObject *parent)
    : ExamplesSource(parent)
    , m_classics(std::move(classics))
    , m_error(error)
    , m_pageSize(pageSize)
{
}

void ExamplesModel::setClassics(std::shared_ptr<const Classics> classics, const QString &error)
{
    m_classics = std::move(classics);
    m_error = error;
    search();
}

void ExamplesModel::setText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == m_text)
        return;
    m_text = trimmed;
    search();
}

void ExamplesModel::search()
{
    m_counts = {};
    m_rows.clear();
    if (m_classics && !m_text.isEmpty()) {
        try {
            m_counts = m_classics->count(m_text);
            m_rows = m_classics->lines(m_text, 0, m_pageSize);
        } catch (const ClassicsError &e) {
            m_error = e.message();
        }
    }
    emit reset();
}

QString ExamplesModel::summary() const
{
    if (!m_error.isEmpty())
        return m_error;
    if (m_text.isEmpty())
        return QStringLiteral("选中草稿中的文字，或查一个字，这里列出古人用它的诗句。");
    QStringList parts;
    for (const DynastyCount &d : m_counts.byDynasty)
        parts << QStringLiteral("%1 %2").arg(d.dynasty).arg(d.lines);
    if (m_counts.lines == 0)
        return QStringLiteral("「%1」：全唐诗、宋词中没有这样的句子").arg(m_text);
    return QStringLiteral("「%1」共 %2 句：%3")
        .arg(m_text)
        .arg(m_counts.lines)
        .arg(parts.join(QStringLiteral(" · ")));
}

bool ExamplesModel::canFetchMore() const
{
    return m_classics && m_rows.size() < m_counts.lines;
}

void ExamplesModel::fetchMore()
{
    if (!canFetchMore())
        return;
    const int from = int(m_rows.size());
    try {
        m_rows += m_classics->lines(m_text, from, m_pageSize);
    } catch (const ClassicsError &e) {
        m_error = e.message();
        m_counts.lines = from; // nothing more can come
    }
    if (m_rows.size() > from)
        emit rowsAdded(from);
}

std::optional<Poem> ExamplesModel::poemOf(int row) const
{
    if (!m_classics || row < 0 || row >= m_rows.size())
        return std::nullopt;
    try {
        return m_classics->poem(m_rows.at(row).poem);
    } catch (const ClassicsError &) {
        return std::nullopt;
    }
}

QString ExamplesModel::rowText(int row) const
{
    const Example &e = m_rows.at(row);
    return QStringLiteral("%1　——%2《%3》").arg(e.text, e.author, e.title);
}

QString ExamplesModel::rowToolTip(int row) const
{
    const Example &e = m_rows.at(row);
    return QStringLiteral("%1 · %2 · 双击看全诗").arg(e.dynasty, e.author);
}

std::optional<ExamplesModel::PoemPage> ExamplesModel::poemPage(int row) const
{
    const std::optional<Poem> poem = poemOf(row);
    if (!poem)
        return std::nullopt;
    return poemPageOf(*poem);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/importjob.h"

#include "db/dates.h"
#include "db/rowadder.h"
#include "db/rtf.h"
#include "db/schema.h"
#include "presentation/categories.h"
#include "presentation/worksmodel.h"

#include <stdexcept>

using namespace schema;

ImportJob::ImportJob(Connection *connection, QList<Poem> poems, const QString &category,
                     const QString &source)
    : m_connection(connection)
    , m_poems(std::move(poems))
    , m_category(category)
    , m_source(source)
{
}

ImportJob::~ImportJob() = default;

void ImportJob::begin()
{
    const auto mark = categories::markOf(m_category);
    if (!mark)
        throw std::invalid_argument(
            QStringLiteral("“%1”不是作品的类别，可选：%2")
                .arg(m_category, categories::categoryTexts().join(QStringLiteral("、")))
                .toStdString());
    m_mark = *mark;
    m_date = dates::toStored(QDate::currentDate());
    m_done = 0;
    m_adder = std::make_unique<RowAdder>(m_connection, tableWorks);
}

void ImportJob::step()
{
    const Poem &poem = m_poems.at(m_done);
    try {
        // The text is stored as the content editor stores what is typed.
        m_adder->add({{colTitle, poem.title},
                      {colContent, rtf::fromPlainText(poem.text)},
                      {colCategory, m_category},
                      {colMark, m_mark},
                      {colCount, QStringLiteral("0")},
                      {colAuthor, WorksModel::presetAuthor},
                      {colSource, m_source},
                      {colDate, m_date}});
    } catch (...) {
        cancel();
        throw;
    }
    ++m_done;
}

void ImportJob::commit()
{
    m_adder->commit();
    m_adder.reset();
}

void ImportJob::cancel()
{
    m_adder.reset();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/examplespanel.h"

#include "pages/gelv/poemdialog.h"
#include "pages/shared/look.h"
#include "presentation/gelv/examplessource.h"

#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>

ExamplesPanel::ExamplesPanel(ExamplesSource *source, QWidget *parent)
    : QWidget(parent)
    , m_source(source)
{
    setObjectName(QStringLiteral("Gelv_Examples"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Gelv_Examples_Summary"));
    m_summary->setWordWrap(true);
    m_summary->setFont(look::songFont());
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Gelv_Examples_List"));
    m_list->setFont(look::songFont());
    m_list->setWordWrap(true);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    // More lines as the list is scrolled near its end.
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value >= m_list->verticalScrollBar()->maximum() - 2)
            m_source->fetchMore();
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &ExamplesPanel::showPoem);
    connect(m_source, &ExamplesSource::reset, this, [this] { showRows(0); });
    connect(m_source, &ExamplesSource::rowsAdded, this, &ExamplesPanel::showRows);
    showRows(0);
}

void ExamplesPanel::showRows(int from)
{
    m_summary->setText(m_source->summary());
    if (from == 0)
        m_list->clear();
    for (int row = from; row < m_source->rowCount(); ++row) {
        auto *item = new QListWidgetItem(m_source->rowText(row), m_list);
        item->setToolTip(m_source->rowToolTip(row));
    }
    // A first page that does not fill the list asks for the next at once. The list lays its rows out
    // later: laid out now, its scroll bar tells whether they fill it, else every page would be fetched.
    if (m_source->canFetchMore() && m_list->isVisible()) {
        m_list->doItemsLayout();
        if (m_list->verticalScrollBar()->maximum() == 0)
            m_source->fetchMore();
    }
}

void ExamplesPanel::showPoem(QListWidgetItem *item)
{
    const std::optional<ExamplesSource::PoemPage> page = m_source->poemPage(m_list->row(item));
    if (!page)
        return;
    if (!m_poem)
        m_poem = new PoemDialog(QStringLiteral("Gelv_Poem"), this);
    m_poem->showPage(page->title, page->html);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/coupletpanel.h"

#include "pages/gelv/poemdialog.h"
#include "pages/shared/look.h"
#include "presentation/gelv/coupletwordssource.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

CoupletPanel::CoupletPanel(CoupletWordsSource *source, QWidget *parent)
    : QWidget(parent)
    , m_source(source)
{
    setObjectName(QStringLiteral("Gelv_Couplets"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    auto *bar = new QHBoxLayout;
    m_word = new QLineEdit(this);
    m_word->setObjectName(QStringLiteral("Gelv_Couplets_Word"));
    m_word->setFont(look::songFont());
    m_word->setMaxLength(8);
    m_word->setPlaceholderText(QStringLiteral("输入一至四字"));
    m_word->setMaximumWidth(120);
    bar->addWidget(new QLabel(QStringLiteral("对仗"), this));
    bar->addWidget(m_word);
    bar->addStretch(1);
    layout->addLayout(bar);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Gelv_Couplets_Summary"));
    m_summary->setWordWrap(true);
    m_summary->setFont(look::songFont());
    layout->addWidget(m_summary);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("Gelv_Couplets_List"));
    m_list->setFont(look::songFont());
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("对语"), QStringLiteral("次"), QStringLiteral("例")});
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(true);
    layout->addWidget(m_list, 1);

    connect(m_word, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_typing = true;
        m_source->lookUpTyped(text);
        m_typing = false;
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CoupletPanel::showPoem);
    connect(m_source, &CoupletWordsSource::changed, this, &CoupletPanel::refresh);
    refresh();
}

void CoupletPanel::refresh()
{
    if (!m_typing) // what is being typed stays as typed
        m_word->setText(m_source->word());
    m_summary->setText(m_source->summary());
    m_list->clear();
    for (const CoupletWordsSource::Row &row : m_source->rows()) {
        auto *item = new QTreeWidgetItem(m_list, {row.word, QString::number(row.count), row.example});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        for (int column = 0; column < 3; ++column)
            item->setToolTip(column, row.toolTip);
    }
}

void CoupletPanel::showPoem(QTreeWidgetItem *item)
{
    const std::optional<ExamplesSource::PoemPage> page =
        m_source->poemPage(m_list->indexOfTopLevelItem(item));
    if (!page)
        return;
    if (!m_poem)
        m_poem = new PoemDialog(QStringLiteral("Gelv_Couplets_Poem"), this);
    m_poem->showPage(page->title, page->html);
}

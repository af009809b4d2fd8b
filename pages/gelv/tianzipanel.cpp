// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/tianzipanel.h"

#include "pages/shared/look.h"
#include "presentation/gelv/tianzisource.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

TianziPanel::TianziPanel(TianziSource *source, QWidget *parent)
    : QWidget(parent)
    , m_source(source)
{
    setObjectName(QStringLiteral("Gelv_Tianzi"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Gelv_Tianzi_Summary"));
    m_summary->setWordWrap(true);
    m_summary->setFont(look::songFont());
    layout->addWidget(m_summary);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("Gelv_Tianzi_List"));
    m_list->setFont(look::songFont());
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("字词"), QStringLiteral("次"), QStringLiteral("例")});
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(true);
    layout->addWidget(m_list, 1);

    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TianziPanel::choose);
    connect(m_source, &TianziSource::changed, this, &TianziPanel::refresh);
    refresh();
}

void TianziPanel::refresh()
{
    m_summary->setText(m_source->summary());
    m_list->clear();
    for (const TianziSource::Row &row : m_source->rows()) {
        auto *item = new QTreeWidgetItem(m_list, {row.parallel ? row.word + QStringLiteral(" 对") : row.word,
                                                  QString::number(row.count), row.example});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        for (int column = 0; column < 3; ++column)
            item->setToolTip(column, row.toolTip);
    }
}

void TianziPanel::choose(QTreeWidgetItem *item)
{
    const int row = m_list->indexOfTopLevelItem(item);
    const QList<TianziSource::Row> rows = m_source->rows();
    if (row >= 0 && row < rows.size())
        emit wordChosen(rows.at(row).insert);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/works/importpreview.h"

#include "pages/shared/look.h"
#include "presentation/categories.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// A title as one line that can be read: line breaks and control characters as spaces, a very long
// one cut.
QString shownTitle(const QString &title)
{
    QString shown = title.left(200);
    for (QChar &c : shown)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    shown = shown.simplified();
    return shown.isEmpty() ? QStringLiteral("（无题）") : shown;
}

} // namespace

ImportPreviewDialog::ImportPreviewDialog(const QString &fileName, const QString &encoding,
                                         const QList<ImportItem> &items, const QString &category,
                                         QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Works_Import_Preview"));
    setWindowTitle(QStringLiteral("导入作品"));
    resize(520, 460);

    int duplicates = 0;
    for (const ImportItem &item : items)
        duplicates += item.duplicate ? 1 : 0;
    auto *about =
        new QLabel(QStringLiteral("“%1”（%2）中有 %3 首诗").arg(fileName, encoding).arg(items.size()) +
                       (duplicates ? QStringLiteral("，其中 %1 首像是已有的作品，没有勾选。").arg(duplicates)
                                   : QStringLiteral("。")),
                   this);
    about->setObjectName(QStringLiteral("Works_Import_About"));
    about->setWordWrap(true);

    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("Works_Import_Category"));
    m_category->addItems(categories::categoryTexts());
    m_category->setCurrentText(category);
    auto *categoryRow = new QHBoxLayout;
    categoryRow->addWidget(new QLabel(QStringLiteral("加入类别："), this));
    categoryRow->addWidget(m_category);
    categoryRow->addStretch();

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("Works_Import_List"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("题目"), QStringLiteral("行数"), QStringLiteral("说明")});
    m_list->setFont(look::songFont());
    for (const ImportItem &item : items) {
        auto *row = new QTreeWidgetItem(m_list, {shownTitle(item.poem.title), QString::number(item.lines),
                                                 item.duplicate ? QStringLiteral("可能重复") : QString()});
        row->setCheckState(0, item.duplicate ? Qt::Unchecked : Qt::Checked);
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setStretchLastSection(false);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("Works_Import_Count"));
    auto *buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(QStringLiteral("导入"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemChanged, this, &ImportPreviewDialog::showCount);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addLayout(categoryRow);
    layout->addWidget(m_list);
    layout->addWidget(m_count);
    layout->addWidget(buttons);
    showCount();
}

QString ImportPreviewDialog::category() const
{
    return m_category->currentText();
}

QList<int> ImportPreviewDialog::chosen() const
{
    QList<int> out;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        if (m_list->topLevelItem(i)->checkState(0) == Qt::Checked)
            out << i;
    return out;
}

void ImportPreviewDialog::showCount()
{
    const qsizetype n = chosen().size();
    m_count->setText(QStringLiteral("将添加 %1 首。").arg(n));
    m_import->setEnabled(n > 0);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/worksfindmodel.h"

const QString WorksFindModel::nothingFound = QStringLiteral("没有找到");

void WorksFindModel::find(const QString &text)
{
    const QString wanted = text.trimmed();
    beginResetModel();
    m_text = wanted;
    m_found = wanted.isEmpty() ? QList<FoundWork>() : search(wanted);
    m_total = int(m_found.size());
    if (m_found.size() > listedAtMost)
        m_found.resize(listedAtMost);
    endResetModel();
    emit summaryChanged(summary());
}

QString WorksFindModel::summary() const
{
    if (m_text.isEmpty())
        return {};
    if (m_total == 0)
        return nothingFound;
    if (m_total > m_found.size())
        return QStringLiteral("找到 %1 篇，列出前 %2 篇").arg(m_total).arg(m_found.size());
    return QStringLiteral("找到 %1 篇").arg(m_total);
}

int WorksFindModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_found.size());
}

// One line: title, author and category, and for a find in the text the words around it.
QVariant WorksFindModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_found.size())
        return {};
    const FoundWork &w = m_found.at(index.row());
    if (role == Qt::DisplayRole) {
        QString line = QStringLiteral("%1　%2〔%3〕").arg(w.title, w.author, w.category);
        if (w.where == FoundWork::Where::Text)
            line += QStringLiteral("　…%1…").arg(w.excerpt);
        return line;
    }
    if (role == Qt::ToolTipRole)
        return w.excerpt.isEmpty() ? w.title : w.excerpt;
    return {};
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/cipu/cipubrowsermodel.h"

#include "prosody/ci/cipu.h"

#include <algorithm>
#include <climits>
#include <set>

using namespace prosody;

CipuBrowserModel::CipuBrowserModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void CipuBrowserModel::setCipu(std::shared_ptr<const Cipu> cipu)
{
    m_cipu = std::move(cipu);
    refilter();
}

bool CipuBrowserModel::isEmpty() const
{
    return !m_cipu || m_cipu->isEmpty();
}

void CipuBrowserModel::setFilter(const QString &typed)
{
    if (typed.trimmed() == m_typed)
        return;
    m_typed = typed.trimmed();
    refilter();
}

void CipuBrowserModel::setCharacters(int characters)
{
    if (characters == m_characters)
        return;
    m_characters = characters;
    refilter();
}

void CipuBrowserModel::setJuan(int juan)
{
    if (juan == m_juan)
        return;
    m_juan = juan;
    refilter();
}

QList<int> CipuBrowserModel::juans() const
{
    std::set<int> seen;
    if (m_cipu)
        for (const CiTune &tune : m_cipu->tunes())
            if (tune.juan > 0)
                seen.insert(tune.juan);
    return QList<int>(seen.begin(), seen.end());
}

bool CipuBrowserModel::passes(const CiTune &tune) const
{
    if (m_juan > 0 && tune.juan != m_juan)
        return false;
    if (m_juan < 0 && tune.bookOrder > 0)
        return false;
    return m_characters <= 0 || std::any_of(tune.forms.begin(), tune.forms.end(), [this](const CiForm &f) {
               return f.characters() == m_characters;
           });
}

void CipuBrowserModel::refilter()
{
    beginResetModel();
    m_rows.clear();
    if (m_cipu) {
        for (const CiTune *tune : m_cipu->search(m_typed))
            if (passes(*tune))
                m_rows.append(tune);
        // Nothing typed: the book's order, as a reader leafs through it.
        if (m_typed.isEmpty())
            std::stable_sort(m_rows.begin(), m_rows.end(), [](const CiTune *a, const CiTune *b) {
                const int ao = a->bookOrder > 0 ? a->bookOrder : INT_MAX;
                const int bo = b->bookOrder > 0 ? b->bookOrder : INT_MAX;
                return ao < bo;
            });
    }
    endResetModel();
}

int CipuBrowserModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant CipuBrowserModel::data(const QModelIndex &index, int role) const
{
    const CiTune *t = tune(index.row());
    if (!t || index.column() != 0)
        return {};
    if (role == Qt::DisplayRole)
        return QStringLiteral("%1　%2 · %3 体").arg(t->name, juanName(t->juan)).arg(t->forms.size());
    if (role == Qt::ToolTipRole && !t->aliases.isEmpty())
        return QStringLiteral("又名") + t->aliases.join(u'、');
    return {};
}

const CiTune *CipuBrowserModel::tune(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row] : nullptr;
}

int CipuBrowserModel::rowOf(const QString &name) const
{
    const CiTune *t = m_cipu ? m_cipu->find(name) : nullptr;
    return t ? int(m_rows.indexOf(t)) : -1;
}

QStringList CipuBrowserModel::formNames(int row) const
{
    QStringList out;
    if (const CiTune *t = tune(row))
        for (const CiForm &form : t->forms)
            out << QStringLiteral("%1 · %2 字 · %3")
                       .arg(form.name())
                       .arg(form.characters())
                       .arg(form.evidence());
    return out;
}

CiFormSheet CipuBrowserModel::sheet(int row, int form) const
{
    const CiTune *t = tune(row);
    if (!t || form < 0 || form >= t->forms.size())
        return {};
    return sheetOf(*t, t->forms[form]);
}

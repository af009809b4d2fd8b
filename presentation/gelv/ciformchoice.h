// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/ciformref.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class CheckModel;
class FormChoiceModel;

// The second selector of a 词: with a 词牌 chosen, its forms to pick from ("正体 · 据 262 首，120 家");
// in 自动, when other 词牌 or forms fit the 词 almost as well as the one taken, those to pick instead.
// Nothing to offer (no entries) for regulated verse and for a 词 with no close second.
class CiFormChoice : public QObject {
    Q_OBJECT
public:
    CiFormChoice(FormChoiceModel *forms, CheckModel *check, QObject *parent = nullptr);

    QStringList entries() const { return m_entries; }
    int current() const { return m_current; }
    // An entry picked: that form of the chosen 词牌, or (in 自动) that 词牌 and form instead.
    void choose(int index);

signals:
    void entriesChanged();

private:
    void update();

    FormChoiceModel *m_forms;
    CheckModel *m_check;
    QStringList m_entries;
    // Per entry: the form it picks; none for the one taken.
    QList<std::optional<prosody::CiFormRef>> m_choices;
    int m_current = 0;
};

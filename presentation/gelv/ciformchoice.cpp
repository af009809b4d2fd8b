// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/ciformchoice.h"

#include "presentation/gelv/checkmodel.h"
#include "presentation/gelv/formchoicemodel.h"
#include "prosody/ci/cipu.h"

using namespace prosody;

CiFormChoice::CiFormChoice(FormChoiceModel *forms, CheckModel *check, QObject *parent)
    : QObject(parent)
    , m_forms(forms)
    , m_check(check)
{
    connect(m_forms, &FormChoiceModel::choiceChanged, this, &CiFormChoice::update);
    connect(m_check, &CheckModel::checksChanged, this, &CiFormChoice::update);
}

void CiFormChoice::update()
{
    QStringList entries;
    QList<std::optional<CiFormRef>> choices;
    int current = 0;
    if (const CiTune *tune = m_forms->tune()) {
        if (tune->forms.size() > 1) {
            entries << QStringLiteral("最合之体");
            choices << CiFormRef{tune->name, 0};
            for (const CiForm &form : tune->forms) {
                entries << QStringLiteral("%1 · %2 · %3").arg(form.name(), form.evidence(), form.structure());
                choices << CiFormRef{tune->name, form.number};
            }
            current = m_forms->variant();
        }
    } else if (!m_check->checks().isEmpty() && m_check->checks().first().isCi() &&
               !m_check->checks().first().ciAlternatives.isEmpty()) {
        const PoemCheck &check = m_check->checks().first();
        entries << QStringLiteral("自动：%1 · %2").arg(check.form, check.variant);
        choices << std::nullopt;
        for (const CiFormRef &alternative : check.ciAlternatives) {
            // 念奴娇 · 又一体（苏轼）, the form as its 词牌 names it
            QString formName = QStringLiteral("第%1体").arg(alternative.number);
            if (const CiTune *tune = m_forms->tuneNamed(alternative.tune))
                for (const CiForm &form : tune->forms)
                    if (form.number == alternative.number)
                        formName = form.name();
            entries << QStringLiteral("或为 %1 · %2").arg(alternative.tune, formName);
            choices << alternative;
        }
    }
    if (entries == m_entries && current == m_current)
        return;
    m_entries = entries;
    m_choices = choices;
    m_current = current;
    emit entriesChanged();
}

void CiFormChoice::choose(int index)
{
    if (index < 0 || index >= m_choices.size() || index == m_current || !m_choices[index])
        return;
    if (m_forms->tune())
        m_forms->setVariant(m_choices[index]->number);
    else
        m_forms->setCiForm(*m_choices[index]);
}

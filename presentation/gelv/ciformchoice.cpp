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
    QStringList entries, choices;
    int current = 0;
    if (const CiTune *tune = m_forms->tune()) {
        if (tune->forms.size() > 1) {
            entries << QStringLiteral("最合之体");
            choices << QStringLiteral("0");
            for (const CiForm &form : tune->forms) {
                entries << QStringLiteral("%1 · %2 · %3").arg(form.name(), form.evidence(), form.structure());
                choices << QString::number(form.number);
            }
            current = m_forms->variant();
        }
    } else if (!m_check->checks().isEmpty() && m_check->checks().first().isCi() &&
               !m_check->checks().first().ciAlternatives.isEmpty()) {
        const PoemCheck &check = m_check->checks().first();
        entries << QStringLiteral("自动：%1 · %2").arg(check.form, check.variant);
        choices << QString();
        for (const QString &alternative : check.ciAlternatives) {
            // "念奴娇:2" → 念奴娇 · 又一体（苏轼）, the form as its 词牌 names it
            const QString name = alternative.section(u':', 0, -2);
            const int number = alternative.section(u':', -1).toInt();
            QString formName = QStringLiteral("第%1体").arg(number);
            if (const CiTune *tune = m_forms->tuneNamed(name))
                for (const CiForm &form : tune->forms)
                    if (form.number == number)
                        formName = form.name();
            entries << QStringLiteral("或为 %1 · %2").arg(name, formName);
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
    if (index < 0 || index >= m_choices.size() || index == m_current)
        return;
    if (m_forms->tune())
        m_forms->setVariant(m_choices[index].toInt());
    else if (!m_choices[index].isEmpty())
        m_forms->setForm(m_choices[index]);
}

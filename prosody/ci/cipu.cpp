// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/ci/cipu.h"

#include <QHash>

#include <algorithm>

namespace prosody {

namespace {

// Every name the text may stand for: itself, and the parts of a title such as "浣溪沙·春景".
QStringList candidateNames(const QString &text)
{
    QString t = text.simplified().remove(u' ');
    for (const QChar dot : {u'・', u'•', u'‧', u'･', u'.'})
        t.replace(dot, u'·');
    QStringList out = {t};
    for (const QString &part : t.split(u'·', Qt::SkipEmptyParts))
        if (!out.contains(part))
            out << part;
    return out;
}

} // namespace

int CiPosition::percent() const
{
    const int known = ping + ze;
    return known == 0 ? 0 : (100 * std::max(ping, ze) + known / 2) / known;
}

QString CiPosition::tip(int poems) const
{
    QString counts = QStringLiteral("平 %1 · 仄 %2").arg(ping).arg(ze);
    if (both)
        counts += QStringLiteral(" · 两读 %1").arg(both);
    if (unknown)
        counts += QStringLiteral(" · 无考 %1").arg(unknown);
    counts += QStringLiteral("，据 %1 首").arg(poems);
    if (authority == Authority::BookNote || authority == Authority::BookExample) {
        const QString source = authority == Authority::BookNote ? QStringLiteral("据谱（例词及注）")
                                                                : QStringLiteral("据谱（例词，无别首可校）");
        const QString rule = book == ToneClass::Both ? QStringLiteral("可平可仄")
                                                     : QStringLiteral("谱作%1").arg(className(book));
        return rule + QStringLiteral("，") + source +
               (poems > 0 ? QStringLiteral("\n词作：") + counts : QString());
    }
    if (authority == Authority::None)
        return QStringLiteral("无考：谱中例字无读音，词作无此句");
    QString rule;
    const QString lean = className(leaning());
    if (ping + ze == 0)
        rule = QStringLiteral("无考");
    else if (strictness == Strictness::Fault)
        rule = QStringLiteral("应%1 %2%").arg(lean).arg(percent());
    else if (strictness == Strictness::Warning && poems < 10)
        rule = QStringLiteral("例词多用%1").arg(lean);
    else if (strictness == Strictness::Warning)
        rule = QStringLiteral("宜%1 %2%").arg(lean).arg(percent()) +
               (isDefinite(book) && book != tone ? QStringLiteral("，谱之例词作%1").arg(className(book))
                                                 : QString());
    else
        rule = QStringLiteral("可平可仄（%1 %2%）").arg(lean).arg(percent());
    return rule + u'\n' + counts;
}

QString CiLine::pattern() const
{
    QString out;
    for (const CiPosition &p : positions)
        out += className(p.tone);
    return out;
}

QString CiLine::marks() const
{
    QString out;
    for (const CiPosition &p : positions)
        out += classMark(p.tone);
    return out;
}

QString CiForm::name() const
{
    if (!label.isEmpty())
        return label;
    return number == 1 ? QStringLiteral("正体") : QStringLiteral("又一体（%1）").arg(number);
}

QString CiForm::evidence() const
{
    const QString corpus = authors > 0 ? QStringLiteral("据 %1 首，%2 家").arg(poems).arg(authors)
                                       : QStringLiteral("据 %1 首").arg(poems);
    if (!fromBook())
        return corpus;
    if (poems == 0)
        return tierName();
    return tierName() + QStringLiteral(" · 词作 ") + corpus.mid(2);
}

QString CiForm::tierName() const
{
    switch (tier) {
    case Authority::BookNote:
        return QStringLiteral("据谱（例词及注）");
    case Authority::BookExample:
        return QStringLiteral("据谱（例词，无别首可校）");
    case Authority::Corpus:
    case Authority::None:
        break;
    }
    return QStringLiteral("据词作 %1 首").arg(poems);
}

bool CiForm::fromExamples() const
{
    return !fromBook() && poems < 10;
}

int CiForm::characters() const
{
    int n = 0;
    for (const CiLine &l : lines)
        n += l.length();
    return n;
}

QList<int> CiForm::lengths() const
{
    QList<int> out;
    for (const CiLine &l : lines)
        out << l.length();
    return out;
}

QString CiForm::structure() const
{
    QString out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += i == stanzaBreak ? u'|' : u',';
        out += QString::number(lines[i].length());
    }
    return out;
}

namespace {

// The book's names of a 词牌's forms: 正体 and 又一体 with the example's author, the second and later 又一体
// of one author told apart (又一体（姜夔之二）).
void nameBookForms(CiTune &tune)
{
    static const QStringList ordinals = QStringLiteral("一 二 三 四 五 六 七 八 九 十").split(u' ');
    QHash<QString, int> seen;
    for (CiForm &form : tune.forms) {
        if (form.bookNumber <= 0)
            continue;
        if (form.author.isEmpty()) {
            form.label = form.bookNumber == 1 ? QStringLiteral("正体")
                                              : QStringLiteral("又一体（谱第%1体）").arg(form.bookNumber);
            continue;
        }
        if (form.bookNumber == 1) {
            form.label = QStringLiteral("正体（%1）").arg(form.author);
            continue;
        }
        const int n = ++seen[form.author];
        form.label = n == 1
                         ? QStringLiteral("又一体（%1）").arg(form.author)
                         : QStringLiteral("又一体（%1之%2）")
                               .arg(form.author, n <= ordinals.size() ? ordinals[n - 1] : QString::number(n));
    }
}

} // namespace

Cipu::Cipu(QList<CiTune> tunes)
    : m_tunes(std::move(tunes))
{
    for (CiTune &tune : m_tunes)
        nameBookForms(tune);
    for (qsizetype i = 0; i < m_tunes.size(); ++i)
        m_byName.insert(m_tunes[i].name, int(i));
    // An alias several 词牌 bear leads to the one the corpus writes under it most (庆宫春: 姜夔's poems,
    // not the 调 the book gives it as another name), then to the most written of them.
    const auto written = [this](int tune, qsizetype alias) {
        const QList<int> &poems = m_tunes[tune].aliasPoems;
        return alias < poems.size() ? poems[alias] : 0;
    };
    QHash<QString, std::pair<int, qsizetype>> chosen; // alias → (tune, its place among the tune's aliases)
    for (qsizetype i = 0; i < m_tunes.size(); ++i) {
        for (qsizetype a = 0; a < m_tunes[i].aliases.size(); ++a) {
            const QString &alias = m_tunes[i].aliases[a];
            const auto it = chosen.constFind(alias);
            if (it == chosen.constEnd() ||
                std::pair(-written(int(i), a), m_tunes[i].rank) <
                    std::pair(-written(it->first, it->second), m_tunes[it->first].rank)) {
                chosen.insert(alias, {int(i), a});
                m_byAlias.insert(alias, int(i));
            }
        }
    }
    for (const CiTune &tune : m_tunes)
        for (const CiForm &form : tune.forms) {
            m_forms.append(&form);
            // Forms of one poem (孤例) or of the book's example alone are many: they are aligned after the
            // others, and only as far as they can fit as well (recognise.cpp).
            (form.poems >= 2 ? m_attestedForms : m_loneForms).append(&form);
        }
}

const CiTune *Cipu::find(const QString &name) const
{
    const QStringList names = candidateNames(name);
    for (const QString &n : names)
        if (const auto it = m_byName.constFind(n); it != m_byName.constEnd())
            return &m_tunes[*it];
    for (const QString &n : names)
        if (const auto it = m_byAlias.constFind(n); it != m_byAlias.constEnd())
            return &m_tunes[*it];
    return nullptr;
}

QList<const CiTune *> Cipu::findAll(const QString &name) const
{
    const QStringList names = candidateNames(name);
    const auto bearers = [&](const QString &n, const CiTune *first) {
        QList<const CiTune *> out{first};
        for (const CiTune &tune : m_tunes)
            if (&tune != first &&
                (tune.aliases.contains(n) || tune.name.startsWith(n + QStringLiteral("（卷"))))
                out.append(&tune);
        return out;
    };
    for (const QString &n : names)
        if (const auto it = m_byName.constFind(n); it != m_byName.constEnd())
            return bearers(n, &m_tunes[*it]);
    for (const QString &n : names)
        if (const auto it = m_byAlias.constFind(n); it != m_byAlias.constEnd())
            return bearers(n, &m_tunes[*it]);
    return {};
}

QList<const CiTune *> Cipu::search(const QString &typed) const
{
    const QString text = typed.simplified().remove(u' ');
    QList<std::pair<int, const CiTune *>> ranked;
    for (const CiTune &tune : m_tunes) {
        int tier = -1;
        if (text.isEmpty() || tune.name == text || tune.aliases.contains(text))
            tier = 0;
        else if (tune.name.startsWith(text))
            tier = 1;
        else if (tune.name.contains(text))
            tier = 2;
        else if (std::any_of(tune.aliases.begin(), tune.aliases.end(),
                             [&](const QString &a) { return a.contains(text); }))
            tier = 3;
        if (tier >= 0)
            ranked.append({tier, &tune});
    }
    // m_tunes is in the order of use already: a stable sort by tier keeps it within each.
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<const CiTune *> out;
    for (const auto &[tier, tune] : ranked)
        out.append(tune);
    return out;
}

} // namespace prosody

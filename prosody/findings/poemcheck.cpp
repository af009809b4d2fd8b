// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/findings/poemcheck.h"

#include <algorithm>

namespace prosody {

bool PoemCheck::ok() const
{
    return faultCount() == 0;
}

bool PoemCheck::has(FindingKind kind) const
{
    return std::any_of(findings.begin(), findings.end(), [kind](const Finding &f) { return f.kind == kind; });
}

int PoemCheck::faultCount() const
{
    return int(std::count_if(findings.begin(), findings.end(), [](const Finding &f) { return f.isFault(); }));
}

QString PoemCheck::summary() const
{
    QStringList parts;
    if (isCi()) {
        parts << form << variant;
        if (!rhyme.isEmpty())
            parts << rhyme;
        parts << (ok() ? QStringLiteral("合谱") : QStringLiteral("%1处不合").arg(faultCount()));
        return parts.join(QStringLiteral(" · "));
    }
    const bool oblique = has(FindingKind::ObliqueRhyme);
    if (oblique)
        parts << QStringLiteral("古体（仄韵）");
    else if (!form.isEmpty())
        parts << form;
    if (!variant.isEmpty() && !oblique)
        parts << variant;
    if (!rhyme.isEmpty())
        parts << rhyme;
    if (form.isEmpty())
        parts << QStringLiteral("不合近体诗体裁");
    else if (inProgress() && !oblique)
        parts << progress() << (ok() ? QString() : QStringLiteral("%1处不合").arg(faultCount()));
    else if (!oblique)
        parts << (ok() ? QStringLiteral("合律") : QStringLiteral("%1处不合").arg(faultCount()));
    parts.removeAll(QString());
    return parts.join(QStringLiteral(" · "));
}

QString PoemCheck::progress() const
{
    const int written = int(lines.size()) - (unfinishedChars > 0 ? 1 : 0);
    QString out = QStringLiteral("已写%1句").arg(written);
    if (unfinishedChars > 0)
        out += QStringLiteral("，第%1句尚缺%2字").arg(written + 1).arg(unfinishedChars);
    if (!pending.isEmpty())
        out += (unfinishedChars > 0 ? QStringLiteral("，其后尚缺%1句") : QStringLiteral("，尚缺%1句"))
                   .arg(pending.size());
    return out;
}

std::optional<Finding> PoemCheck::unfinished() const
{
    if (!inProgress())
        return std::nullopt;
    const int last = int(lines.size());
    QString text;
    if (unfinishedChars > 0)
        text = QStringLiteral("第%1句尚缺%2字").arg(last).arg(unfinishedChars);
    if (!pending.isEmpty())
        text += (text.isEmpty() ? QStringLiteral("尚缺%1句") : QStringLiteral("，其后尚缺%1句"))
                    .arg(pending.size());
    return Finding{
        unfinishedChars > 0 ? last : 0, 0, QString(), FindingKind::Unfinished, Severity::Fault, text};
}

QList<Finding> PoemCheck::sortedFindings() const
{
    QList<Finding> out = findings;
    std::stable_sort(out.begin(), out.end(),
                     [](const Finding &a, const Finding &b) { return int(a.severity) < int(b.severity); });
    return out;
}

void PoemCheck::sortFindings()
{
    std::stable_sort(findings.begin(), findings.end(), [](const Finding &a, const Finding &b) {
        return std::pair(a.line, a.pos) < std::pair(b.line, b.pos);
    });
}

} // namespace prosody

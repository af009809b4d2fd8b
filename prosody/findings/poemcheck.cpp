#include "prosody/findings/poemcheck.h"

#include <algorithm>

namespace prosody {

bool PoemCheck::ok() const
{
    return faultCount() == 0;
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
    const bool oblique = std::any_of(findings.begin(), findings.end(),
                                     [](const Finding &f) { return f.kind == kind::obliqueRhyme; });
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
    else if (!oblique)
        parts << (ok() ? QStringLiteral("合律") : QStringLiteral("%1处不合").arg(faultCount()));
    return parts.join(QStringLiteral(" · "));
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

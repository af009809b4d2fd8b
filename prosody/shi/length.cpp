#include "prosody/shi/length.h"

#include <QHash>

namespace prosody {

bool judgeLength(ShiPoem &poem, FormChoice choice)
{
    QList<int> lengths;
    for (const LineCheck &l : poem.out().lines)
        lengths.append(int(l.line.size()));
    QHash<int, int> counts;
    for (int n : lengths)
        ++counts[n];
    int common = lengths.first();
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        if (it.value() > counts.value(common))
            common = it.key();
    bool ok = true;
    for (int l = 0; l < poem.lineCount(); ++l) {
        if (lengths.at(l) != common) {
            poem.add(l, 0, kind::length, Severity::Fault,
                     QStringLiteral("第%1句%2字，与其余各句（%3字）不同")
                         .arg(l + 1)
                         .arg(lengths.at(l))
                         .arg(common));
            ok = false;
        }
    }
    if (!ok)
        return false;
    const auto whole = [&](const QString &text) { poem.add(-1, 0, kind::length, Severity::Fault, text); };
    if (common != 5 && common != 7) {
        whole(QStringLiteral("每句%1字，近体诗每句五字或七字").arg(common));
        return false;
    }
    const std::optional<Form> byCount = formOfLineCount(poem.lineCount());
    if (choice.length != 0 && choice.length != common) {
        whole(QStringLiteral("选定的体裁每句%1字，诗中每句%2字").arg(choice.length).arg(common));
        return false;
    }
    if (choice.form != Form::Auto && byCount != choice.form) {
        const QString expected = choice.form == Form::Jueju   ? QStringLiteral("4句")
                                 : choice.form == Form::Lvshi ? QStringLiteral("8句")
                                                              : QStringLiteral("10句以上的偶数句");
        whole(QStringLiteral("共%1句，%2应为%3")
                  .arg(poem.lineCount())
                  .arg(formName(choice.form, common), expected));
        return false;
    }
    if (!byCount) {
        whole(QStringLiteral("共%1句，不合绝句（4句）、律诗（8句）或排律（10句以上的偶数句）")
                  .arg(poem.lineCount()));
        return false;
    }
    poem.out().form = formName(*byCount, common);
    return true;
}

} // namespace prosody

// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/findings/characternotes.h"

namespace prosody {

QList<Finding> characterNotes(const RhymeBooks &books, Book book, const QList<LineCheck> &lines)
{
    QList<Finding> out;
    const QString name = bookName(book);
    for (qsizetype l = 0; l < lines.size(); ++l) {
        const Line &line = lines[l].line;
        for (qsizetype i = 0; i < line.size(); ++i) {
            // Most characters are in the book: the notes are written only for the others.
            const bool unknown = lines[l].tones.at(i) == ToneClass::Unknown;
            if (!unknown && !books.memberships(book, line.chars.at(i)).isEmpty())
                continue;
            const std::optional<RhymeBooks::Ungrouped> u =
                unknown ? std::nullopt : books.ungrouped(book, line.chars.at(i));
            if (!unknown && !u)
                continue;
            const QString c = line.text(i, 1);
            const QString at = locator(int(l) + 1, int(i) + 1, c);
            Finding f{int(l) + 1, int(i) + 1, c, {}, Severity::Warning, {}};
            if (unknown && isLostChar(line.chars.at(i))) {
                f.kind = FindingKind::Unknown;
                f.text = QStringLiteral("%1：原文缺字，未计平仄").arg(at);
            } else if (unknown) {
                f.kind = FindingKind::Unknown;
                f.text = QStringLiteral("%1：%2中无此字，未计平仄").arg(at, name);
            } else {
                const QString basis = u->basis == QStringLiteral("今读") ? QStringLiteral("按今读")
                                                                         : QStringLiteral("按粤音入声");
                f.kind = FindingKind::ModernOnly;
                f.text = QStringLiteral("%1：%2无此字，%3计为%4")
                             .arg(at, name, basis, QString(className(classOf(u->tone))));
            }
            out.append(f);
        }
    }
    return out;
}

} // namespace prosody

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dictionary/poemtext.h"

#include <QRegularExpression>

namespace builddb {

QStringList tidyLines(const QStringList &lines)
{
    QStringList out;
    for (const QString &line : lines)
        if (const QString t = line.trimmed(); !t.isEmpty())
            out << t;
    return out;
}

QStringList convertLines(const QStringList &lines, const Converter &t2s)
{
    return tidyLines(t2s(lines.join(u'\n')).split(u'\n'));
}

QStringList takeNotes(QStringList &lines)
{
    const QString text = lines.join(u'\n');
    QString kept, note;
    QStringList notes;
    int depth = 0;
    for (QChar c : text) {
        const bool open = c == u'(' || c == u'（';
        const bool close = c == u')' || c == u'）';
        if (open && depth++ == 0) {
            note.clear();
            continue;
        }
        if (close && depth > 0 && --depth == 0) {
            notes << note.simplified();
            continue;
        }
        (depth > 0 ? note : kept) += c;
    }
    if (depth > 0)
        kept += u'(' + note;
    lines = tidyLines(kept.split(u'\n'));
    return notes;
}

bool isSameLine(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    const qsizetype allowed = a.size() / 8;
    qsizetype differences = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && ++differences > allowed)
            return false;
    return true;
}

QString firstClause(const QString &text)
{
    static const QRegularExpression stop(QStringLiteral("[，。？！；：、,.?!;:\\s]"));
    const QString trimmed = text.trimmed();
    const qsizetype at = trimmed.indexOf(stop);
    return at < 0 ? trimmed : trimmed.left(at);
}

EditorialSplit splitEditorialNotes(const QString &text)
{
    EditorialSplit out;
    QString poem;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.at(i) != u'（') {
            poem += text.at(i++);
            continue;
        }
        qsizetype end = i + 1;
        for (int depth = 1; end < text.size(); ++end) {
            depth += text.at(end) == u'（' ? 1 : text.at(end) == u'）' ? -1 : 0;
            if (depth == 0)
                break;
        }
        if (end >= text.size()) { // unbalanced: leave the rest as it is
            poem += text.mid(i);
            break;
        }
        const QString inner = text.mid(i + 1, end - i - 1);
        QString note = inner;
        note.remove(u'\n');
        note = note.trimmed();
        // Variant readings (一作「行」) and marks of a doubtful character (疑) stay with the line.
        if (note.startsWith(QStringLiteral("一作")) || note.size() <= 2)
            poem += text.mid(i, end - i + 1);
        else
            out.notes << note;
        i = end + 1;
    }
    // A line left with nothing but punctuation once its note has gone is dropped.
    static const QRegularExpression punctuationOnly(QStringLiteral("^[\\p{P}\\s]*$"));
    QStringList lines;
    for (const QString &line : poem.split(u'\n'))
        if (!punctuationOnly.match(line).hasMatch())
            lines << line;
    out.poem = lines.join(u'\n');
    return out;
}

} // namespace builddb

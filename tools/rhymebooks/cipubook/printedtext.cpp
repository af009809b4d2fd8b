// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/printedtext.h"

#include "tools/rhymebooks/cipubook/bookerror.h"

#include <QFile>
#include <QRegularExpression>

namespace cipubook {

namespace {

// Two ASCII spaces stand for one empty cell of the small print.
Text cellsOf(TextView column)
{
    Text out;
    for (size_t i = 0; i < column.size(); ++i) {
        if (column[i] == U' ') {
            out.push_back(kBlank);
            if (i + 1 < column.size() && column[i + 1] == U' ')
                ++i;
        } else {
            out.push_back(column[i]);
        }
    }
    return out;
}

bool endsSentence(char32_t c)
{
    return TextView(U"此也異同誤之耳矣聲體格法校韻句").find(c) != TextView::npos;
}

bool beginsSentence(char32_t c)
{
    return TextView(U"此按又譜若其凡宋元明唐今蓋葢惟至故").find(c) != TextView::npos;
}

int gapScore(const Text &column, size_t row)
{
    int score = 0;
    if (row > 0 && row - 1 < column.size() && endsSentence(column[row - 1]))
        ++score;
    if (row + 1 < column.size() && beginsSentence(column[row + 1]))
        ++score;
    return score;
}

} // namespace

QList<PrintedLine> printedLinesOf(const QString &text, int juan)
{
    static const QRegularExpression pageMark(QStringLiteral("<pb:KR4j0086_[A-Z]+_(\\d+-\\d+[ab])>"));
    QList<PrintedLine> out;
    bool contents = false;
    QString page;
    for (QString raw : text.split(u'\n')) {
        if (raw.endsWith(u'\r'))
            raw.chop(1); // trimmed() would take the indent, which is full-width spaces
        if (raw.startsWith(u'#')) {
            if (raw.contains(u"JUAN"))
                contents = raw.endsWith(u"目録") || raw.endsWith(u"目錄");
            continue;
        }
        const QRegularExpressionMatch m = pageMark.match(raw);
        if (m.hasMatch()) {
            page = m.captured(1);
            raw.remove(m.capturedStart(), m.capturedLength());
        }
        raw.remove(u'¶');
        PrintedLine line;
        line.juan = juan;
        line.contents = contents;
        line.page = page;
        qsizetype start = 0;
        while (start < raw.size() && raw.at(start) == QChar(kBlank))
            ++start;
        line.indent = int(start);
        line.text = toText(QStringView(raw).mid(start));
        while (!line.text.empty() && (line.text.back() == kBlank || line.text.back() == U' '))
            line.text.pop_back();
        if (!line.text.empty())
            out.append(line);
    }
    return out;
}

QList<PrintedLine> readJuanFile(const QString &path, int juan)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw BookError(QStringLiteral("读不到御定词谱的文本 %1：%2").arg(path, file.errorString()));
    return printedLinesOf(QString::fromUtf8(file.readAll()), juan);
}

QList<Piece> piecesOf(TextView line)
{
    QList<Piece> out;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == U'(') {
            const size_t close = line.find(U')', i);
            const size_t end = close == TextView::npos ? line.size() : close;
            const TextView inside = line.substr(i + 1, end - i - 1);
            const size_t slash = inside.find(U'/');
            Piece p;
            p.small = true;
            p.right = cellsOf(inside.substr(0, slash));
            if (slash != TextView::npos)
                p.left = cellsOf(inside.substr(slash + 1));
            out.append(p);
            i = end + 1;
            continue;
        }
        const size_t open = line.find(U'(', i);
        const size_t end = open == TextView::npos ? line.size() : open;
        Piece p;
        p.text = Text(line.substr(i, end - i));
        out.append(p);
        i = end;
    }
    return out;
}

Text readProse(const Piece &small)
{
    Text right = small.right, left = small.left;
    for (size_t row = 0; row < std::min(right.size(), left.size()); ++row) {
        if (right[row] == kBlank || left[row] != kBlank)
            continue;
        // Either the left column has a gap here (as written) or the right one has, and the
        // character belongs to the left column.
        Text moved = right, took = left;
        moved[row] = kBlank;
        took[row] = right[row];
        if (gapScore(moved, row) > gapScore(left, row)) {
            right = moved;
            left = took;
        }
    }
    return right + left;
}

} // namespace cipubook

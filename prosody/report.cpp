// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/report.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace prosody {

QString tonesText(const LineCheck &line)
{
    QString out;
    for (ToneClass c : line.tones)
        out += className(c);
    return out;
}

namespace {

// An object whose members keep the order they are added in.
class JsonWriter {
public:
    JsonWriter &key(const char *name)
    {
        m_out += m_first ? "" : ",";
        m_first = false;
        m_out += '"' + QByteArray(name) + "\":";
        return *this;
    }
    JsonWriter &value(const QString &text)
    {
        const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
        m_out += array.mid(1, array.size() - 2); // the string without the brackets around it
        return *this;
    }
    JsonWriter &value(int n)
    {
        m_out += QByteArray::number(n);
        return *this;
    }
    JsonWriter &value(bool b)
    {
        m_out += b ? "true" : "false";
        return *this;
    }
    JsonWriter &raw(const QByteArray &json)
    {
        m_out += json;
        return *this;
    }
    QByteArray object() const { return '{' + m_out + '}'; }

private:
    QByteArray m_out;
    bool m_first = true;
};

QByteArray list(const QList<QByteArray> &items)
{
    QByteArray out = "[";
    for (qsizetype i = 0; i < items.size(); ++i)
        out += (i ? "," : "") + items.at(i);
    return out + ']';
}

QByteArray coupletsJson(const QList<Couplet> &couplets)
{
    QList<QByteArray> out;
    for (const Couplet &c : couplets) {
        QList<QByteArray> units;
        for (const CoupletUnit &u : c.units) {
            const QByteArray pair =
                QJsonDocument(QJsonArray{u.upper, u.lower}).toJson(QJsonDocument::Compact);
            units.append(JsonWriter()
                             .key("text")
                             .raw(pair)
                             .key("judgement")
                             .value(parallelName(u.judgement))
                             .key("count")
                             .value(u.count)
                             .object());
        }
        out.append(JsonWriter()
                       .key("lines")
                       .raw(list({QByteArray::number(c.upperLine + 1), QByteArray::number(c.lowerLine + 1)}))
                       .key("parallel")
                       .value(c.parallel)
                       .key("units")
                       .raw(list(units))
                       .object());
    }
    return list(out);
}

} // namespace

QString coupletText(const Couplet &couplet)
{
    QStringList units;
    for (const CoupletUnit &u : couplet.units)
        units << QStringLiteral("%1/%2 %3").arg(u.upper, u.lower, parallelMark(u.judgement));
    return QStringLiteral("%1 %2：%3")
        .arg(couplet.name, couplet.parallel ? QStringLiteral("对仗") : QStringLiteral("未成对仗"),
             units.join(QStringLiteral(" · ")));
}

QByteArray toJson(const PoemCheck &check)
{
    QList<QByteArray> lines, findings;
    for (const LineCheck &l : check.lines) {
        JsonWriter line;
        line.key("text")
            .value(l.line.text())
            .key("tones")
            .value(tonesText(l))
            .key("pattern")
            .value(l.pattern);
        if (check.isCi()) {
            QList<QByteArray> shares;
            for (int s : l.shares)
                shares.append(QByteArray::number(s));
            line.key("shares")
                .raw(list(shares))
                .key("rhymed")
                .value(l.rhymed)
                .key("form_line")
                .value(l.formLine);
        }
        lines.append(line.object());
    }
    for (const Finding &f : check.sortedFindings())
        findings.append(JsonWriter()
                            .key("line")
                            .value(f.line)
                            .key("pos")
                            .value(f.pos)
                            .key("char")
                            .value(f.character)
                            .key("kind")
                            .value(kindName(f.kind))
                            .key("fault")
                            .value(f.isFault())
                            .key("text")
                            .value(f.text)
                            .object());
    JsonWriter out;
    out.key("form")
        .value(check.form)
        .key("variant")
        .value(check.variant)
        .key("book")
        .value(bookName(check.book));
    out.key("rhyme").value(check.rhyme);
    if (check.isCi()) {
        const CiForm &form = *check.ciForm;
        const QString source = form.source == CiSource::Book   ? QStringLiteral("book")
                               : form.source == CiSource::Both ? QStringLiteral("both")
                                                               : QStringLiteral("corpus");
        out.key("structure").value(form.structure()).key("scheme").value(form.scheme);
        // The form as --form numbers it, where it comes from and who stands behind its marks.
        out.key("form_number")
            .value(form.number)
            .key("source")
            .value(source)
            .key("tier")
            .value(form.tierName());
        if (form.bookNumber > 0)
            out.key("book_number")
                .value(form.bookNumber)
                .key("author")
                .value(form.author)
                .key("juan")
                .value(form.juan);
        out.key("poems").value(form.poems);
    }
    out.key("ok").value(check.ok()).key("lines").raw(list(lines));
    if (!check.couplets.isEmpty())
        out.key("couplets").raw(coupletsJson(check.couplets));
    return out.key("findings").raw(list(findings)).object();
}

QString toText(const PoemCheck &check)
{
    QString out;
    if (!check.poem.title.isEmpty())
        out += check.poem.title + u'\n';
    for (const LineCheck &l : check.lines) {
        out += l.line.text() + u'\n';
        QString marks;
        for (ToneClass c : l.tones)
            marks += classMark(c);
        out += marks + u'\n';
        // A 词 shows the pattern of the 词谱 under its own marks, with the rhyme.
        if (check.isCi() && !l.pattern.isEmpty()) {
            QString pattern;
            for (QChar c : l.pattern)
                pattern += classMark(c == u'平'   ? ToneClass::Ping
                                     : c == u'仄' ? ToneClass::Ze
                                                  : ToneClass::Both);
            out += pattern + (l.rhymed ? QStringLiteral(" 韵") : QString()) + u'\n';
        }
    }
    for (const Couplet &c : check.couplets)
        if (c.middle || c.parallel)
            out += coupletText(c) + u'\n';
    const QList<Finding> findings = check.sortedFindings();
    for (const Finding &f : findings)
        out += (f.isFault()                       ? QStringLiteral("✗ ")
                : f.severity == Severity::Warning ? QStringLiteral("△ ")
                                                  : QStringLiteral("○ ")) +
               f.text + u'\n';
    out += QStringLiteral("【%1】%2\n").arg(bookName(check.book), check.summary());
    return out;
}

} // namespace prosody

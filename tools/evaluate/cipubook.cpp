// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/cipubook.h"

#include "tools/rhymebooks/cipubook/cipubook.h"
#include "tools/rhymebooks/cipubook/selfcheck.h"

#include <QMap>

using namespace cipubook;

namespace {

QString placeOf(const Place &p)
{
    return QStringLiteral("卷%1 %2").arg(p.juan).arg(p.page);
}

QString percent(qsizetype part, qsizetype whole)
{
    return QString::number(100.0 * double(part) / double(std::max<qsizetype>(1, whole)), 'f', 1) + u'%';
}

QString markOf(const BookLine &line)
{
    switch (line.end) {
    case LineEnd::Ju:
        return QStringLiteral("。");
    case LineEnd::Rhyme:
        return QStringLiteral("（韵%1%2）")
            .arg(line.rhymeChange ? QStringLiteral("换") : QString(),
                 line.rhymeTone.isNull() ? QString() : QString(line.rhymeTone));
    case LineEnd::Xie:
        return QStringLiteral("（叶%1）").arg(line.rhymeChange ? QStringLiteral("换") : QString());
    case LineEnd::Repeat:
        return QStringLiteral("（叠）");
    case LineEnd::Double:
        return QStringLiteral("（重）");
    case LineEnd::Open:
        return QStringLiteral("（？）");
    }
    return {};
}

// One 句 with its 读 (、), 和声 in brackets and the mark it ends with.
QString lineText(const BookLine &line)
{
    const QList<uint> chars = line.text.toUcs4();
    QString out;
    for (qsizetype i = 0; i <= chars.size(); ++i) {
        for (const Harmony &h : line.harmonies)
            if (h.after == i)
                out += u'[' + h.text + u']';
        if (i > 0 && line.dou.contains(int(i)) && i < chars.size())
            out += u'、';
        if (i < chars.size())
            out += QString::fromUcs4(reinterpret_cast<const char32_t *>(&chars[i]), 1);
    }
    return out + markOf(line);
}

// Every form of the 调 of that name: heading, author, the example by 段 and 句, the note and what it frees.
int showTune(const CipuBook &book, const QString &name, QTextStream &out)
{
    int shown = 0;
    for (const BookTune &tune : book.tunes) {
        const bool named = tune.name == name || std::any_of(tune.aliases.begin(), tune.aliases.end(),
                                                            [&](const Alias &a) { return a.name == name; });
        if (!named)
            continue;
        ++shown;
        QStringList aliases;
        for (const Alias &a : tune.aliases)
            aliases << a.name + (a.inContents ? QStringLiteral("·目") : QString()) +
                           (a.inOrigin ? QStringLiteral("·注") : QString());
        out << "## " << tune.name << " (" << placeOf(tune.place) << ")\n\n又名：" << aliases.join(u'、')
            << "\n\n"
            << tune.origin << "\n";
        for (const BookForm &form : tune.forms) {
            out << "\n### "
                << (form.number == 1 ? QStringLiteral("正体")
                                     : QStringLiteral("又一体%1").arg(form.number - 1))
                << " " << form.heading.text << " " << form.source << form.author << " ("
                << placeOf(form.place) << ")\n\n";
            for (const BookStanza &s : form.example.stanzas) {
                QStringList lines;
                for (const BookLine &l : s.lines)
                    lines << lineText(l);
                out << "> " << lines.join(QString()) << "\n>\n";
            }
            out << "\n" << form.note << "\n";
            for (const FreePosition &f : form.free)
                out << "- 第" << f.stanza + 1 << "段第" << f.line + 1 << "句第" << f.index + 1 << "字 "
                    << f.character
                    << (f.variant == Tone::Ping ? " 可平"
                        : f.variant == Tone::Ze ? " 可仄"
                                                : " 入声")
                    << "（" << f.poet << " " << f.variantCharacter << "）\n";
            for (const QString &u : form.unplaced)
                out << "- 未能定位：" << u << "\n";
            if (form.strict)
                out << "- 无别首可校\n";
        }
    }
    return shown ? 0 : 1;
}

} // namespace

int cipubookUnplaced(const QString &dir, QTextStream &out)
{
    const CipuBook book = readCipuBook(dir);
    for (const BookTune &tune : book.tunes)
        for (const BookForm &form : tune.forms)
            for (const QString &u : form.unplaced)
                out << placeOf(form.place) << " " << tune.name << " " << form.number << " " << u << "\n";
    return 0;
}

int cipubookTune(const QString &dir, const QString &name, QTextStream &out)
{
    return showTune(readCipuBook(dir), name, out);
}

int cipubookReport(const QString &dir, QTextStream &out)
{
    const CipuBook book = readCipuBook(dir);
    const QList<Finding> findings = selfCheck(book);

    int tunes = 0, forms = 0, agree = 0, noted = 0, naming = 0, freeNotes = 0, free = 0, named = 0,
        unplaced = 0, unplacedNotes = 0, strict = 0, appendixTunes = 0, appendixForms = 0;
    QMap<int, int> byStanzas;
    QMap<QString, int> missed; // named characters not placed, by why
    for (const BookTune &tune : book.tunes) {
        if (tune.appendix) {
            ++appendixTunes;
            appendixForms += int(tune.forms.size());
            continue;
        }
        ++tunes;
        for (const BookForm &form : tune.forms) {
            ++forms;
            ++byStanzas[form.heading.stanzas];
            agree += formAgrees(form);
            noted += !form.note.isEmpty();
            naming += form.named > 0;
            freeNotes += !form.free.isEmpty();
            free += int(form.free.size());
            named += form.named;
            unplaced += int(form.unplaced.size());
            unplacedNotes += !form.unplaced.isEmpty();
            for (const QString &u : form.unplaced)
                ++missed[u.section(u'：', 0, 0)];
            strict += form.strict;
        }
    }
    int listedForms = 0, uncounted = 0;
    for (const ContentsEntry &e : book.contents)
        if (e.juan != 40) {
            e.forms < 0 ? ++uncounted : listedForms += e.forms;
        }

    out << "## 御定词谱 read from " << dir << "\n\n| item | count |\n|---|---:|\n";
    out << "| 调 (卷一–卷三十九) | " << tunes << " |\n| 体 | " << forms << " |\n";
    for (auto it = byStanzas.constBegin(); it != byStanzas.constEnd(); ++it) {
        static const char16_t *const kinds[] = {u"未注", u"單調", u"雙調", u"三段", u"四段"};
        out << "| 体, " << QString::fromUtf16(kinds[std::clamp(it.key(), 0, 4)]) << " | " << it.value()
            << " |\n";
    }
    out << "| 体 whose example has the 字数 and rhymes of its heading | " << agree << " ("
        << percent(agree, forms) << ") |\n";
    out << "| 体 with a note | " << noted << " |\n| notes naming characters with a tone | " << naming
        << " |\n| notes with free characters | " << freeNotes << " |\n";
    out << "| free positions found | " << free << " |\n| characters the notes name with a tone | " << named
        << " |\n| named characters not placed | " << unplaced << " (in " << unplacedNotes << " notes) |\n";
    for (auto it = missed.constBegin(); it != missed.constEnd(); ++it)
        out << "| named characters not placed: " << it.key() << " | " << it.value() << " |\n";
    out << "| 体 whose note says no other poem can be compared | " << strict << " |\n";
    out << "| tables of contents: 调 (卷一–卷三十九) | "
        << std::count_if(book.contents.begin(), book.contents.end(),
                         [](const ContentsEntry &e) { return e.juan != 40; })
        << " |\n| tables of contents: 体 | " << listedForms << " (" << uncounted
        << " entries without a count) |\n";
    out << "| 卷四十 (附编): 调, sets of pieces | " << appendixTunes << ", " << appendixForms << " |\n";
    out << "| 调 and 体 in all, 卷四十's sets counted as 体 (the book's own count: 826, 2306) | "
        << tunes + appendixTunes << ", " << forms + appendixForms << " |\n\n";

    QMap<FindingKind, QList<const Finding *>> byKind;
    for (const Finding &f : findings)
        byKind[f.kind].append(&f);
    out << "### The self-check\n\n| kind | count |\n|---|---:|\n";
    for (auto it = byKind.constBegin(); it != byKind.constEnd(); ++it)
        out << "| " << kindName(it.key()) << " | " << it.value().size() << " |\n";
    for (auto it = byKind.constBegin(); it != byKind.constEnd(); ++it) {
        out << "\n#### " << kindName(it.key()) << "\n\n";
        for (const Finding *f : it.value())
            out << "- " << placeOf(f->place) << " " << f->tune
                << (f->form > 1    ? QStringLiteral(" 又一体%1").arg(f->form - 1)
                    : f->form == 1 ? QStringLiteral(" 正体")
                                   : QString())
                << "：" << f->reason << "\n";
    }
    out << "\n### What the reader read past or left\n\n";
    for (const ReadProblem &p : book.problems)
        out << "- " << placeOf(p.place) << " " << p.tune << "：" << p.reason << "\n";
    out << Qt::endl;
    return 0;
}

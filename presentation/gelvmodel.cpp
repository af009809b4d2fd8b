#include "presentation/gelvmodel.h"

#include "prosody/check.h"
#include "prosody/ci/cipu.h"
#include "prosody/core/referencefile.h"

#include <algorithm>

using namespace prosody;

namespace {

QString text(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

} // namespace

namespace {
const QStringList kShiForms = {QStringLiteral("自动"),     QStringLiteral("五言绝句"),
                               QStringLiteral("七言绝句"), QStringLiteral("五言律诗"),
                               QStringLiteral("七言律诗"), QStringLiteral("排律")};
} // namespace

GelvModel::GelvModel(const QString &booksPath, QObject *parent)
    : QObject(parent)
    , m_path(booksPath)
    , m_formName(kShiForms.first())
{
}

bool GelvModel::load()
{
    if (m_books)
        return true;
    try {
        m_books = loadRhymeBooks(m_path);
        m_error.clear();
    } catch (const LoadError &e) {
        m_error = e.message();
        return false;
    }
    recheck();
    emit lookupChanged();
    return true;
}

QStringList GelvModel::bookNames()
{
    QStringList names;
    for (Book b : allBooks)
        names << bookName(b);
    return names;
}

QStringList GelvModel::formNames() const
{
    QStringList names = kShiForms;
    if (m_books)
        for (const CiTune &tune : m_books->cipu().tunes())
            names << tune.name;
    return names;
}

QStringList GelvModel::searchTunes(const QString &typed) const
{
    QStringList names;
    if (m_books)
        for (const CiTune *tune : m_books->cipu().search(typed))
            names << tune->name;
    return names;
}

void GelvModel::setBook(int index)
{
    if (index < 0 || index >= int(std::size(allBooks)) || Book(index) == m_book)
        return;
    m_book = Book(index);
    m_lookupGroup = 0;
    recheck();
    emit lookupChanged();
}

void GelvModel::setForm(const QString &name)
{
    const QString form = name.trimmed();
    if (form == m_formName)
        return;
    const CiTune *tune = m_books && !formFromName(form) ? m_books->cipu().find(form) : nullptr;
    if (!formFromName(form) && !tune)
        return;
    m_formName = tune ? tune->name : form;
    if (tune && m_book == Book::Pingshui) {
        m_book = Book::Cilin;
        emit bookChanged(int(m_book));
    }
    recheck();
}

void GelvModel::setDraft(const QString &text, int selectionStart, int selectionEnd)
{
    const int from = std::clamp(std::min(selectionStart, selectionEnd), 0, int(text.size()));
    const int to = std::clamp(std::max(selectionStart, selectionEnd), 0, int(text.size()));
    const QString checked = from == to ? text : text.mid(from, to - from);
    m_text = text;
    if (checked == m_checkedText && (from == to ? 0 : from) == m_checkedFrom && !m_checks.isEmpty())
        return;
    m_checkedText = checked;
    m_checkedFrom = from == to ? 0 : from;
    recheck();
}

void GelvModel::recheck()
{
    m_checks = m_books ? checkAs(m_books, m_checkedText, m_formName, m_book).value_or(QList<PoemCheck>())
                       : QList<PoemCheck>();
    emit checksChanged();
}

QList<GelvModel::FindingRow> GelvModel::findingRows() const
{
    QList<FindingRow> rows;
    for (const PoemCheck &check : m_checks) {
        for (const Finding &f : check.findings) {
            FindingRow row{f.text, f.severity, m_checkedFrom + check.poem.start,
                           check.poem.end - check.poem.start};
            if (f.line > 0 && f.line <= check.lines.size()) {
                const Line &line = check.lines.at(f.line - 1).line;
                if (f.pos > 0 && f.pos <= line.size()) {
                    row.start = m_checkedFrom + line.offsets.at(f.pos - 1);
                    row.length = line.width(f.pos - 1);
                } else {
                    row.start = m_checkedFrom + line.offsets.first();
                    row.length = line.offsets.last() + line.width(line.size() - 1) - line.offsets.first();
                }
            }
            rows.append(row);
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const FindingRow &a, const FindingRow &b) {
        return int(a.severity) < int(b.severity);
    });
    return rows;
}

QStringList GelvModel::summaries() const
{
    QStringList out;
    for (const PoemCheck &check : m_checks)
        out << check.summary();
    return out;
}

char32_t GelvModel::characterAt(const QString &text, int caret)
{
    const auto at = [&](int i) -> char32_t {
        if (i < 0 || i >= text.size())
            return 0;
        QChar c = text.at(i);
        if (c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate())
            return QChar::surrogateToUcs4(text.at(i - 1), c);
        if (c.isHighSurrogate() && i + 1 < text.size())
            return QChar::surrogateToUcs4(c, text.at(i + 1));
        return c.unicode();
    };
    const char32_t before = at(caret - 1);
    if (before != 0 && isVerseChar(before))
        return before;
    const char32_t after = at(caret);
    return after != 0 && isVerseChar(after) ? after : 0;
}

void GelvModel::setLookup(char32_t hanzi)
{
    if (hanzi == m_lookup)
        return;
    m_lookup = hanzi;
    m_lookupGroup = 0;
    emit lookupChanged();
}

QStringList GelvModel::readings() const
{
    return m_books && m_lookup ? m_books->readings(m_lookup) : QStringList();
}

QStringList GelvModel::lookupBooks() const
{
    QStringList lines;
    if (!m_books || !m_lookup)
        return lines;
    for (Book b : allBooks) {
        QStringList groups;
        for (const RhymeBooks::Membership &m : m_books->memberships(b, m_lookup))
            groups
                << QStringLiteral("%1（%2）").arg(m_books->groups(b).at(m.group).name).arg(toneName(m.tone));
        QString where = groups.join(u'、');
        if (groups.isEmpty()) {
            const std::optional<RhymeBooks::Ungrouped> u = m_books->ungrouped(b, m_lookup);
            where = u ? QStringLiteral("无韵部（%1，%2）").arg(u->basis).arg(toneName(u->tone))
                      : QStringLiteral("无此字");
        }
        lines << QStringLiteral("%1：%2　%3")
                     .arg(bookName(b), where)
                     .arg(className(m_books->toneClass(b, m_lookup)));
    }
    return lines;
}

QList<GelvModel::GroupChoice> GelvModel::groupChoices() const
{
    QList<GroupChoice> choices;
    if (!m_books || !m_lookup)
        return choices;
    for (const RhymeBooks::Membership &m : m_books->memberships(m_book, m_lookup)) {
        const bool byTone = m_books->groups(m_book).at(m.group).tones.size() > 1;
        const bool seen = std::any_of(choices.begin(), choices.end(), [&](const GroupChoice &c) {
            return c.group == m.group && (!byTone || c.tone == m.tone);
        });
        if (!seen)
            choices.append({m.group, m.tone, byTone});
    }
    return choices;
}

QStringList GelvModel::lookupGroups() const
{
    QStringList names;
    for (const GroupChoice &c : groupChoices()) {
        const QString name = m_books->groups(m_book).at(c.group).name;
        names << (c.byTone ? QStringLiteral("%1（%2）").arg(name).arg(toneName(c.tone)) : name);
    }
    return names;
}

void GelvModel::setLookupGroup(int index)
{
    if (index == m_lookupGroup || index < 0 || index >= groupChoices().size())
        return;
    m_lookupGroup = index;
    emit lookupChanged();
}

void GelvModel::setClassics(std::shared_ptr<const classics::Classics> classics)
{
    m_classics = std::move(classics);
    emit lookupChanged();
}

QList<GelvModel::Member> GelvModel::members(bool common) const
{
    QList<Member> out;
    const QList<GroupChoice> choices = groupChoices();
    if (m_lookupGroup >= choices.size())
        return out;
    const GroupChoice &c = choices.at(m_lookupGroup);
    const auto take = [&](const RhymeBooks::Member &m, int count) {
        if ((!c.byTone || m.tone == c.tone) && (m.level == 1) == common)
            out.append({text(m.hanzi), count});
    };
    if (m_classics) {
        try {
            for (const classics::CountedMember &m : m_classics->membersByUse(*m_books, m_book, c.group))
                take(m.member, m.count);
            return out;
        } catch (const classics::ClassicsError &) {
            out.clear(); // unreadable now: the book's order, without counts
        }
    }
    for (const RhymeBooks::Member &m : m_books->members(m_book, c.group))
        take(m, -1);
    return out;
}

QString GelvModel::Member::toolTip() const
{
    return count >= 0 ? QStringLiteral("全唐诗、宋词的近体诗押此字 %1 次").arg(count) : QString();
}

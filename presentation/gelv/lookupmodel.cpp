// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/lookupmodel.h"

#include "classics/classics.h"
#include "presentation/gelv/pinyinindex.h"
#include "prosody/reading/classes.h"
#include "prosody/text/reader.h"

#include <algorithm>

using namespace prosody;

namespace {

QString text(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

} // namespace

LookupModel::LookupModel(QObject *parent)
    : LookupSource(parent)
{
}

LookupModel::~LookupModel() = default;

void LookupModel::setBooks(std::shared_ptr<const RhymeBooks> books)
{
    m_books = std::move(books);
    m_pinyin.reset();
    m_lookupGroup = 0;
    emit lookupChanged();
}

void LookupModel::setBook(Book book)
{
    if (book == m_book)
        return;
    m_book = book;
    m_lookupGroup = 0;
    emit lookupChanged();
}

void LookupModel::setClassics(std::shared_ptr<const classics::Classics> classics)
{
    m_classics = std::move(classics);
    emit lookupChanged();
}

char32_t LookupModel::characterAt(const QString &text, int caret)
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

void LookupModel::lookUpAt(const QString &text, int caret)
{
    const char32_t c = characterAt(text, caret);
    if (!c)
        return;
    // The line the character stands in, so that its word can decide a character of both classes.
    const int at =
        caret > 0 && characterAt(text.left(caret), caret) == c ? caret - (c > 0xFFFF ? 2 : 1) : caret;
    const qsizetype start = text.lastIndexOf(u'\n', at - 1) + 1;
    const qsizetype end = text.indexOf(u'\n', at);
    std::optional<std::pair<Line, int>> context;
    for (const Poem &poem : readPoems(text.mid(start, end < 0 ? -1 : end - start)))
        for (const Line &line : poem.lines)
            if (const qsizetype i = line.offsets.indexOf(int(at - start)); i >= 0)
                context = {line, int(i)};
    const bool moved =
        context.has_value() != m_context.has_value() ||
        (context && (context->first.chars != m_context->first.chars || context->second != m_context->second));
    m_context = context;
    if (c != m_lookup)
        setLookup(c);
    else if (moved)
        emit lookupChanged();
}

void LookupModel::lookUpTyped(const QString &text)
{
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return;
    if (const char32_t c = characterAt(typed, int(typed.size()))) {
        setLookup(c);
        return;
    }
    lookUpReading(typed);
}

// No character was typed: the letters at the end may be a reading.
void LookupModel::lookUpReading(const QString &typed)
{
    qsizetype from = typed.size();
    const auto latin = [](QChar c) { return (c.isLetterOrNumber() && c.unicode() < 0x250) || c == u':'; };
    while (from > 0 && latin(typed.at(from - 1)))
        --from;
    const QString pinyin = PinyinIndex::looksLikePinyin(typed.mid(from)) ? typed.mid(from) : QString();
    m_lookup = 0;
    m_lookupGroup = 0;
    m_candidates.clear();
    if (!pinyin.isEmpty() && m_books) {
        if (!m_pinyin)
            m_pinyin = std::make_unique<PinyinIndex>(*m_books);
        for (char32_t c : m_pinyin->characters(pinyin))
            m_candidates << text(c);
        m_note = !m_candidates.isEmpty()    ? QStringLiteral("读 %1 的字（点一个即查）").arg(pinyin)
                 : m_pinyin->begins(pinyin) ? QStringLiteral("「%1」：拼音还没打完").arg(pinyin)
                                            : QStringLiteral("「%1」不是汉字，也没有这样读的字").arg(pinyin);
    } else {
        m_note = QStringLiteral("「%1」不是汉字").arg(typed);
    }
    emit lookupChanged();
}

void LookupModel::setLookup(char32_t hanzi)
{
    if (hanzi == m_lookup && m_note.isEmpty())
        return;
    if (m_context && m_context->first.chars.value(m_context->second) != hanzi)
        m_context.reset();
    m_lookup = hanzi;
    m_lookupGroup = 0;
    m_candidates.clear();
    m_note.clear();
    emit lookupChanged();
}

QString LookupModel::character() const
{
    return m_lookup ? text(m_lookup) : QString();
}

QStringList LookupModel::readings() const
{
    if (!m_books || !m_lookup)
        return {};
    QStringList out = m_books->readings(m_lookup);
    // A traditional or old form is looked up as the standard character it stands for: say which.
    if (const char32_t standard = m_books->variants().standard(m_lookup); standard != m_lookup)
        out.prepend(QStringLiteral("同「%1」").arg(text(standard)));
    return out;
}

QStringList LookupModel::lookupBooks() const
{
    QStringList lines;
    if (!m_books || !m_lookup)
        return lines;
    for (Book b : allBooks) {
        QStringList groups;
        for (const RhymeBooks::Membership &m : m_books->bookMemberships(b, m_lookup))
            groups
                << QStringLiteral("%1（%2）").arg(m_books->groups(b).at(m.group).name).arg(toneName(m.tone));
        QString where = groups.join(u'、');
        if (groups.isEmpty()) {
            const std::optional<RhymeBooks::Ungrouped> u = m_books->ungrouped(b, m_lookup);
            where = u ? QStringLiteral("无韵部（%1，%2）").arg(u->basis).arg(toneName(u->tone))
                      : QStringLiteral("无此字");
        }
        QString cls = className(m_books->toneClass(b, m_lookup));
        // A character of both classes that its word decides says which word.
        if (m_context) {
            const Reading r = readingAt(*m_books, m_context->first, m_context->second, b);
            if (!r.word.isEmpty())
                cls += QStringLiteral("，在「%1」中读 %2，计为%3")
                           .arg(r.word, r.pinyin, QString(className(r.cls)));
        }
        lines << QStringLiteral("%1：%2　%3").arg(bookName(b), where, cls);
    }
    return lines;
}

QList<LookupModel::GroupChoice> LookupModel::groupChoices() const
{
    QList<GroupChoice> choices;
    if (!m_books || !m_lookup)
        return choices;
    for (const RhymeBooks::Membership &m : m_books->bookMemberships(m_book, m_lookup)) {
        const bool byTone = m_books->groups(m_book).at(m.group).tones.size() > 1;
        const bool seen = std::any_of(choices.begin(), choices.end(), [&](const GroupChoice &c) {
            return c.group == m.group && (!byTone || c.tone == m.tone);
        });
        if (!seen)
            choices.append({m.group, m.tone, byTone});
    }
    return choices;
}

QStringList LookupModel::lookupGroups() const
{
    QStringList names;
    for (const GroupChoice &c : groupChoices()) {
        const QString name = m_books->groups(m_book).at(c.group).name;
        names << (c.byTone ? QStringLiteral("%1（%2）").arg(name).arg(toneName(c.tone)) : name);
    }
    return names;
}

void LookupModel::setLookupGroup(int index)
{
    if (index == m_lookupGroup || index < 0 || index >= groupChoices().size())
        return;
    m_lookupGroup = index;
    emit lookupChanged();
}

QList<LookupSource::Member> LookupModel::members(bool common) const
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

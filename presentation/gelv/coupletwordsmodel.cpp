// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/coupletwordsmodel.h"

#include "classics/classics.h"
#include "classics/coupletpairs.h"
#include "prosody/couplet/rhythm.h"
#include "prosody/text/reader.h"

using namespace classics;

namespace {

constexpr int kLongest = 4;

QString chineseOf(const QString &text)
{
    QString out;
    for (const char32_t c : text.toUcs4())
        if (prosody::isVerseChar(c))
            out += QString::fromUcs4(&c, 1);
    return out;
}

} // namespace

CoupletWordsModel::CoupletWordsModel(QObject *parent, int limit)
    : CoupletWordsSource(parent)
    , m_limit(limit)
{
}

void CoupletWordsModel::setSources(std::shared_ptr<const CoupletPairs> pairs,
                                   std::shared_ptr<const Classics> classics, const QString &error)
{
    m_pairs = std::move(pairs);
    m_classics = std::move(classics);
    m_error = error;
    lookUp();
}

void CoupletWordsModel::setWord(const QString &text)
{
    const QString word = chineseOf(text);
    if (word == m_word)
        return;
    m_word = word;
    lookUp();
}

QString CoupletWordsModel::wordAt(const QString &text, int caret)
{
    // The character just before the caret, else the one after it, as the lookup takes them.
    const QList<prosody::Poem> poems = prosody::readPoems(text);
    for (const bool before : {true, false})
        for (const prosody::Poem &poem : poems)
            for (const prosody::Line &line : poem.lines)
                for (qsizetype i = 0; i < line.size(); ++i) {
                    const int at = line.offsets.at(i);
                    if (before ? at + line.width(i) != caret : at != caret)
                        continue;
                    const prosody::Span unit = prosody::unitAt(int(line.size()), int(i));
                    return line.text(unit.from, unit.length);
                }
    return {};
}

void CoupletWordsModel::lookUp()
{
    m_rows.clear();
    m_couplets.clear();
    if (m_pairs && !m_word.isEmpty() && m_word.toUcs4().size() <= kLongest) {
        try {
            for (const Partner &p : m_pairs->partners(m_word, m_limit)) {
                Row row{p.text, p.count, QString(), QString()};
                if (const std::optional<CoupletExample> c = m_pairs->couplet(p.couplet)) {
                    row.example = QStringLiteral("%1，%2").arg(c->upper, c->lower);
                    row.toolTip =
                        QStringLiteral("%1《%2》%3 · 双击看全诗").arg(c->author, c->title, c->position);
                }
                m_rows.append(row);
                m_couplets.append(p.couplet);
            }
        } catch (const ClassicsError &e) {
            m_error = e.message();
            m_rows.clear();
            m_couplets.clear();
        }
    }
    emit changed();
}

QString CoupletWordsModel::summary() const
{
    if (!m_error.isEmpty())
        return m_error;
    if (m_word.isEmpty())
        return QStringLiteral(
            "选中草稿中一至四个字，或把光标放在诗句中，这里列出古人在律诗中间两联与之相对的词。");
    if (m_word.toUcs4().size() > kLongest)
        return QStringLiteral("「%1」有 %2 字：只查一至四字的词。").arg(m_word).arg(m_word.toUcs4().size());
    if (m_rows.isEmpty())
        return QStringLiteral("「%1」：全唐诗律诗的中间两联中没有与之相对的词").arg(m_word);
    return QStringLiteral("与「%1」相对的词（在 %2 联中出现 %3 次），常用的在前：")
        .arg(m_word)
        .arg(m_pairs->totals().couplets)
        .arg(m_pairs->unitCount(m_word));
}

std::optional<ExamplesSource::PoemPage> CoupletWordsModel::poemPage(int row) const
{
    if (!m_pairs || !m_classics || row < 0 || row >= m_couplets.size())
        return std::nullopt;
    try {
        const std::optional<CoupletExample> couplet = m_pairs->couplet(m_couplets.at(row));
        const std::optional<Poem> poem = couplet ? m_classics->poem(couplet->poem) : std::nullopt;
        if (!poem)
            return std::nullopt;
        const auto escape = [](const QString &t) { return t.toHtmlEscaped(); };
        QStringList lines;
        for (const QString &line : poem->lines) {
            // The couplet of the example stands out.
            const bool holds =
                chineseOf(line).contains(couplet->upper) || chineseOf(line).contains(couplet->lower);
            lines << (holds ? QStringLiteral("<b>%1</b>").arg(escape(line)) : escape(line));
        }
        QString html = QStringLiteral("<h3>%1</h3><p>%2 · %3</p><p>%4</p>")
                           .arg(escape(poem->title), escape(poem->dynasty), escape(poem->author),
                                lines.join(QStringLiteral("<br>")));
        html +=
            QStringLiteral("<p style=\"color:#555\">%1「%2」对「%3」　出处：%4</p>")
                .arg(couplet->position, escape(m_word), escape(m_rows.at(row).word), escape(poem->source));
        return ExamplesSource::PoemPage{QStringLiteral("%1 · %2").arg(poem->title, poem->author), html};
    } catch (const ClassicsError &) {
        return std::nullopt;
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/worksfinder.h"

#include "db/database.h"
#include "db/rtf.h"
#include "db/schema.h"
#include "db/sqlite.h"

#include <algorithm>

using namespace schema;

namespace {

// ?1 the text looked for, ?2 the draft's category, ?3 the characters around a find. RTF texts come
// whole: what they hold is only known once converted.
const QString findSql = QStringLiteral(R"(
SELECT rowid, %2, %3, %4,
       instr(lower(%3), lower(?1)) > 0,
       instr(lower(%4), lower(?1)) > 0,
       substr(%5, 1, 5) = '{\rtf',
       CASE WHEN substr(%5, 1, 5) = '{\rtf' THEN %5
            WHEN instr(lower(%5), lower(?1)) > 0
            THEN substr(%5, max(1, instr(lower(%5), lower(?1)) - ?3),
                        min(instr(lower(%5), lower(?1)) - 1, ?3) + length(?1) + ?3) END
FROM %1
WHERE %2 IS NOT NULL AND %2 <> ?2
  AND (instr(lower(%3), lower(?1)) OR instr(lower(%4), lower(?1)) OR instr(lower(%5), lower(?1))
       OR substr(%5, 1, 5) = '{\rtf')
ORDER BY %6 DESC, rowid DESC)");

// The characters around the first place `text` is in `content`; empty when it is not there.
QString excerptOf(const QString &content, const QString &text)
{
    const qsizetype at = content.indexOf(text, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    const qsizetype from = std::max<qsizetype>(0, at - WorksFinder::excerptContext);
    return content.mid(from, at - from + text.size() + WorksFinder::excerptContext);
}

// An excerpt reads as one line.
QString oneLine(const QString &text)
{
    return text.simplified();
}

} // namespace

WorksFinder::WorksFinder(const Database &db, QObject *parent)
    : WorksFindModel(parent)
    , m_db(db)
{
}

QList<FoundWork> WorksFinder::search(const QString &text) const
{
    const QString sql =
        findSql.arg(quotedIdentifier(tableWorks), quotedIdentifier(colCategory), quotedIdentifier(colTitle),
                    quotedIdentifier(colAuthor), quotedIdentifier(colContent), quotedIdentifier(colDate));
    Statement st(m_db.connection()->file(), sql.toUtf8());
    st.bindText(1, text);
    st.bindText(2, draftCategory);
    st.bindInt64(3, excerptContext);
    QList<FoundWork> found;
    while (st.step()) {
        FoundWork w;
        w.rowid = st.int64(0);
        w.category = st.text(1);
        w.title = st.text(2);
        w.author = st.text(3);
        if (st.int64(4)) {
            w.where = FoundWork::Where::Title;
        } else if (st.int64(5)) {
            w.where = FoundWork::Where::Author;
        } else {
            w.where = FoundWork::Where::Text;
            w.excerpt = st.int64(6) ? excerptOf(rtf::toPlainText(st.text(7)), text) : st.text(7);
            if (w.excerpt.isEmpty())
                continue; // an RTF text that does not hold it
            w.excerpt = oneLine(w.excerpt);
        }
        found << w;
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const FoundWork &a, const FoundWork &b) { return a.where < b.where; });
    return found;
}

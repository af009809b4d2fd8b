// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the query dialect translator and the rich-text reader. Any text must
// translate or fail cleanly; a user text made literal must come out as exactly one literal holding
// exactly that text; whatever the engine accepts of a translation has exactly one parameter per
// literal, so no literal is read as SQL; and a typed text stored by an editor reads back unchanged.
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/rtf.h"
#include "db/schema.h"
#include "db/sqlite.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

// An empty database with the program's tables, opened as the query layer opens its file, to prepare
// translations against.
SqliteFile &database()
{
    static SqliteFile db(QStringLiteral(":memory:"), SqliteFile::Mode::QueryWriter);
    static const bool created = [] {
        for (const QString &sql : schema::createStatements())
            db.exec(sql.toUtf8());
        return true;
    }();
    Q_UNUSED(created);
    return db;
}

// Checked on a single statement, the only kind the query layer runs.
void checkParameters(const dialect::Translated &t)
{
    try {
        const Statement st(database(), t.sql);
        if (!st.isEmpty() && st.tail().trimmed().isEmpty() && st.parameterCount() != t.literals.size())
            abort();
    } catch (const DbError &) {
        // Refused by the engine: nothing of it runs.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        checkParameters(dialect::translate(text));
    } catch (const DbError &) {
    }

    // The pages' pattern: fixed text, then the user's text through the literal helper.
    const QString prefix = QStringLiteral("select * from 词组 where 词组 like ");
    const dialect::Translated t = dialect::translate(prefix + dialect::literal(text));
    if (t.literals.size() != 1 || t.literals.first() != text || !t.sql.endsWith('?'))
        abort();
    const dialect::Translated twice = dialect::translate(
        prefix + dialect::literal(text) + QStringLiteral(" and 含义=") + dialect::literal(text));
    if (twice.literals.size() != 2 || twice.literals[0] != text || twice.literals[1] != text)
        abort();
    checkParameters(twice);

    // A stored value of any shape is read without harm; a typed text comes back as typed.
    rtf::toPlainText(text);
    if (rtf::displayText(rtf::fromPlainText(text)) != text)
        abort();
    return 0;
}

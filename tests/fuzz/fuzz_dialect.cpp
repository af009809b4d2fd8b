// libFuzzer target for the query dialect translator: any text must translate or fail cleanly, and a
// user text made literal must come out as exactly one literal holding exactly that text.
#include "dberror.h"
#include "dialect.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        dialect::translate(text);
    } catch (const DbError &) {
    }

    // The pages' pattern: fixed text, then the user's text through the literal helper.
    const QString prefix = QStringLiteral("select * from 词组 where 词组 like ");
    const dialect::Translated t = dialect::translate(prefix + dialect::literal(text));
    if (t.literals.size() != 1 || t.literals.first() != text || !t.sql.endsWith('?'))
        abort();
    const dialect::Translated twice =
        dialect::translate(prefix + dialect::literal(text) + QStringLiteral(" and 含义=") + dialect::literal(text));
    if (twice.literals.size() != 2 || twice.literals[0] != text || twice.literals[1] != text)
        abort();
    return 0;
}

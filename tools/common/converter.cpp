// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/converter.h"

#include "tools/common/builderror.h"

#include <QList>

#include <opencc/opencc.h>

namespace builddb {

namespace {
const opencc_t kFailed = reinterpret_cast<opencc_t>(-1);

// The sources write a few glyphs that Unicode lacks as private-use characters, which no font shows
// the same way; the missing-glyph mark □ stands in for them.
QString withoutPrivateUse(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (QChar::category(c) == QChar::Other_PrivateUse)
            out += u'□';
        else
            out += QString::fromUcs4(&c, 1);
    }
    return out;
}
} // namespace

Converter::Converter(const QString &config)
    : m_handle(opencc_open(config.toUtf8().constData()))
{
    if (m_handle == kFailed)
        throw BuildError(config,
                         QStringLiteral("OpenCC cannot load it: ") + QString::fromUtf8(opencc_error()));
}

Converter::~Converter()
{
    opencc_close(m_handle);
}

QString Converter::operator()(const QString &text) const
{
    if (text.isEmpty())
        return text;
    const QByteArray utf8 = text.toUtf8();
    char *converted = opencc_convert_utf8(m_handle, utf8.constData(), size_t(utf8.size()));
    if (!converted)
        throw BuildError(QStringLiteral("OpenCC"), QString::fromUtf8(opencc_error()));
    const QString result = QString::fromUtf8(converted);
    opencc_convert_utf8_free(converted);
    return withoutPrivateUse(result);
}

} // namespace builddb

// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/rtf.h"

#include <QByteArray>
#include <QSet>
#include <QStringDecoder>

#include <vector>

namespace rtf {
namespace {

// Destinations whose content is not part of the visible text.
const QSet<QString> &skippedDestinations()
{
    static const QSet<QString> names = {
        QStringLiteral("fonttbl"),
        QStringLiteral("colortbl"),
        QStringLiteral("stylesheet"),
        QStringLiteral("info"),
        QStringLiteral("pict"),
        QStringLiteral("header"),
        QStringLiteral("footer"),
        QStringLiteral("headerl"),
        QStringLiteral("headerr"),
        QStringLiteral("footerl"),
        QStringLiteral("footerr"),
        QStringLiteral("listtable"),
        QStringLiteral("listoverridetable"),
        QStringLiteral("rsidtbl"),
        QStringLiteral("generator"),
        QStringLiteral("fldinst"),
        QStringLiteral("object"),
        QStringLiteral("filetbl"),
        QStringLiteral("revtbl"),
        QStringLiteral("themedata"),
        QStringLiteral("datastore"),
        QStringLiteral("latentstyles"),
        QStringLiteral("xmlnstbl"),
        QStringLiteral("colorschememapping"),
    };
    return names;
}

QByteArray codecName(int codePage)
{
    switch (codePage) {
    case 936:
        return "GBK";
    case 950:
        return "Big5";
    case 65001:
        return "UTF-8";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

class Reader {
public:
    explicit Reader(const QString &text)
        : m_text(text)
    {
    }

    QString run()
    {
        m_groups.push_back({});
        for (m_pos = 0; m_pos < m_text.size();) {
            const QChar c = m_text[m_pos];
            if (c == u'{') {
                flushBytes();
                m_groups.push_back(m_groups.back());
                ++m_pos;
            } else if (c == u'}') {
                flushBytes();
                if (m_groups.size() > 1)
                    m_groups.pop_back();
                ++m_pos;
            } else if (c == u'\\') {
                controlSymbol();
            } else {
                if (c != u'\r' && c != u'\n')
                    character(c);
                ++m_pos;
            }
        }
        flushBytes();
        if (m_out.endsWith(u'\n'))
            m_out.chop(1);
        return m_out;
    }

private:
    struct Group {
        bool skip = false;
        int unicodeSkip = 1;
    };

    void character(QChar c)
    {
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        flushBytes();
        if (!m_groups.back().skip)
            m_out += c;
    }

    void byte(char b)
    {
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        if (!m_groups.back().skip)
            m_bytes += b;
    }

    void flushBytes()
    {
        if (m_bytes.isEmpty())
            return;
        QStringDecoder decoder(codecName(m_codePage).constData());
        m_out += decoder.isValid() ? decoder.decode(m_bytes) : QString::fromLatin1(m_bytes);
        m_bytes.clear();
    }

    void text(const QString &s)
    {
        flushBytes();
        if (!m_groups.back().skip)
            m_out += s;
    }

    void controlSymbol()
    {
        ++m_pos; // the backslash
        if (m_pos >= m_text.size())
            return;
        const QChar c = m_text[m_pos];
        if (!c.isLetter() || c.unicode() > 0x7f) {
            ++m_pos;
            if (c == u'\'') {
                bool ok = false;
                const int value = m_text.mid(m_pos, 2).toInt(&ok, 16);
                m_pos = std::min(m_pos + 2, m_text.size());
                if (ok)
                    byte(char(value));
            } else if (c == u'*') {
                m_groups.back().skip = true;
            } else if (c == u'~') {
                character(QChar(0x00a0));
            } else if (c == u'_') {
                character(QChar(0x2011));
            } else if (c == u'\n' || c == u'\r') {
                text(QStringLiteral("\n"));
            } else if (c == u'\\' || c == u'{' || c == u'}') {
                character(c);
            }
            return;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos].isLetter() && m_text[m_pos].unicode() < 0x80)
            ++m_pos;
        const QString word = m_text.mid(start, m_pos - start);
        bool hasParam = false;
        int param = 0;
        const qsizetype paramStart = m_pos;
        if (m_pos < m_text.size() && (m_text[m_pos] == u'-' || m_text[m_pos].isDigit())) {
            ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos].isDigit())
                ++m_pos;
            param = m_text.mid(paramStart, m_pos - paramStart).toInt(&hasParam);
        }
        if (m_pos < m_text.size() && m_text[m_pos] == u' ')
            ++m_pos;
        controlWord(word, hasParam, param);
    }

    void controlWord(const QString &word, bool hasParam, int param)
    {
        if (skippedDestinations().contains(word)) {
            m_groups.back().skip = true;
        } else if (word == u"ansicpg" && hasParam) {
            m_codePage = param;
        } else if (word == u"uc" && hasParam) {
            m_groups.back().unicodeSkip = std::max(0, param);
        } else if (word == u"u" && hasParam) {
            character(QChar(char16_t(param < 0 ? param + 65536 : param)));
            m_pendingSkip = m_groups.back().unicodeSkip;
        } else if (word == u"par" || word == u"line" || word == u"sect" || word == u"page") {
            text(QStringLiteral("\n"));
        } else if (word == u"tab") {
            text(QStringLiteral("\t"));
        } else if (word == u"emdash") {
            text(QStringLiteral("\u2014"));
        } else if (word == u"endash") {
            text(QStringLiteral("\u2013"));
        } else if (word == u"lquote") {
            text(QStringLiteral("\u2018"));
        } else if (word == u"rquote") {
            text(QStringLiteral("\u2019"));
        } else if (word == u"ldblquote") {
            text(QStringLiteral("\u201c"));
        } else if (word == u"rdblquote") {
            text(QStringLiteral("\u201d"));
        } else if (word == u"bullet") {
            text(QStringLiteral("\u2022"));
        }
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    std::vector<Group> m_groups;
    QString m_out;
    QByteArray m_bytes;
    int m_codePage = 1252;
    int m_pendingSkip = 0;
};

} // namespace

bool isRtf(const QString &text)
{
    return text.startsWith(QStringLiteral("{\\rtf"));
}

QString toPlainText(const QString &rtf)
{
    return Reader(rtf).run();
}

QString displayText(const QString &stored)
{
    return isRtf(stored) ? toPlainText(stored) : stored;
}

QString fromPlainText(const QString &text)
{
    if (!isRtf(text))
        return text;
    // Every character outside printable ASCII as \uN with no fallback (\uc0), so no code page is
    // involved.
    QString out = QStringLiteral("{\\rtf1\\ansi\\uc0 ");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'{' || c == u'}')
            out += u'\\' + QString(c);
        else if (c == u'\n')
            out += QStringLiteral("\\par ");
        else if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            out += QStringLiteral("\\u%1 ").arg(qint16(c.unicode()));
        else
            out += c;
    }
    // The reader drops the paragraph mark that ends a document.
    return out + QStringLiteral("\\par }");
}

} // namespace rtf

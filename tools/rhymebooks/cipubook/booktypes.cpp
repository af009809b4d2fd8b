// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/booktypes.h"

#include "tools/rhymebooks/cipubook/booktext.h"

namespace cipubook {

int BookStanza::characters() const
{
    int n = 0;
    for (const BookLine &l : lines)
        n += l.length;
    return n;
}

int BookExample::characters() const
{
    int n = 0;
    for (const BookStanza &s : stanzas)
        n += s.characters();
    return n;
}

int BookExample::lines() const
{
    int n = 0;
    for (const BookStanza &s : stanzas)
        n += int(s.lines.size());
    return n;
}

int BookExample::rhymes() const
{
    int n = 0;
    for (const BookStanza &s : stanzas)
        for (const BookLine &l : s.lines)
            n += l.rhymed();
    return n;
}

QString BookExample::text() const
{
    QStringList out;
    for (const BookStanza &s : stanzas) {
        QString one;
        for (const BookLine &l : s.lines)
            one += l.text;
        out << one;
    }
    return out.join(QChar(kBlank));
}

int FormHeading::lines() const
{
    int n = 0;
    for (const StanzaHeading &s : perStanza) {
        if (s.lines < 0)
            return -1;
        n += s.lines;
    }
    return perStanza.isEmpty() ? -1 : n;
}

int FormHeading::rhymes() const
{
    int n = 0;
    for (const StanzaHeading &s : perStanza)
        n += s.rhymes();
    return n;
}

int CipuBook::forms() const
{
    int n = 0;
    for (const BookTune &t : tunes)
        n += int(t.forms.size());
    return n;
}

} // namespace cipubook

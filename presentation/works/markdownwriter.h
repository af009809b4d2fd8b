// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/works/workwriter.h"

#include <QString>

// Works as Markdown: a second-level heading per work, its category and date under it, then the text
// with each line kept (a hard break at its end) and blank lines as paragraph breaks. Characters
// Markdown would read as markup are escaped, so every work shows as written.
class MarkdownWriter : public WorkWriter {
public:
    void begin(QIODevice *out) override;
    void write(const Work &work) override;
    void end() override;

    static QString format(const Work &work);

private:
    QIODevice *m_out = nullptr;
    bool m_first = true;
};

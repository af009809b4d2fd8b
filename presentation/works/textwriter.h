// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/works/workwriter.h"

#include <QString>

// Works as plain UTF-8 text: the title line, the text, a blank line between works (the lines as
// plainlines writes them, so that the importer reads every work back exactly).
class TextWriter : public WorkWriter {
public:
    void begin(QIODevice *out) override;
    void write(const Work &work) override;
    void end() override;

    // One work's lines, ending in a line break.
    static QString format(const Work &work);

private:
    QIODevice *m_out = nullptr;
    bool m_first = true;
};

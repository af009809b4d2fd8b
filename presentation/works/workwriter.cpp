// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/workwriter.h"

#include <QIODevice>

void WorkWriter::writeAll(QIODevice *out, const QByteArray &bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = out->write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            return;
        written += n;
    }
}

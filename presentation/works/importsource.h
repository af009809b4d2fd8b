// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// The bytes of what the user names to import, read with care because the name may be anything: an
// ordinary file only (a symbolic link, a folder, a device, a pipe or a socket is refused without
// being opened for reading, so nothing blocks or runs without end), and no more than a limit, even
// from a file that grows while it is read or from standard input.
namespace importsource {

struct Bytes {
    QByteArray bytes;
    QString refusal; // empty when the bytes were read; else one line saying why not
};

Bytes fromFile(const QString &path, qint64 limit);
Bytes fromDevice(QIODevice &device, qint64 limit);

} // namespace importsource

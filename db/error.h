// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <stdexcept>

// The base of the program's own errors (the data layer's, the classics file's, the rhyme books'):
// what() is the one-line message shown to the user, in UTF-8, so one catch can show any of them.
class ShihaiError : public std::runtime_error {
public:
    explicit ShihaiError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
    QString message() const { return QString::fromUtf8(what()); }
};

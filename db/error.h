#pragma once

#include <QString>

#include <stdexcept>

// The base of the errors this program shows to the user: what() is the one-line message, in the
// user's language, that says what went wrong and, where it can, what to do.
class ShihaiError : public std::runtime_error {
public:
    explicit ShihaiError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
    QString message() const { return QString::fromUtf8(what()); }
};

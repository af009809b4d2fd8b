// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <stdexcept>

namespace cipubook {

// The book's text cannot be read: the message names the file and what is wrong, for the user.
class BookError : public std::runtime_error {
public:
    explicit BookError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};

} // namespace cipubook

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace builddb {

// Traditional to simplified conversion through OpenCC; owns the OpenCC handle.
class Converter {
public:
    // config is an OpenCC configuration file, found in OpenCC's data folder when not a path.
    explicit Converter(const QString &config = QStringLiteral("t2s.json"));
    ~Converter();
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    QString operator()(const QString &text) const;

private:
    void *m_handle;
};

} // namespace builddb

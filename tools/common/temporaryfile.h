#pragma once

#include <QString>
#include <QTemporaryFile>

#include <memory>

namespace builddb {

// A temporary file beside path for a new reference file, readable by all once in place.
std::unique_ptr<QTemporaryFile> temporaryBeside(const QString &path);

// Puts the finished temporary file in place of path, replacing an older reference file at once.
void replace(QTemporaryFile &temporary, const QString &path);

} // namespace builddb

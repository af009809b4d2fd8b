// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryFile>

#include <memory>

namespace builddb {

// A built file is written under a temporary name beside its place and renamed into it only when
// complete, so that its place never holds half a file. The temporary file is removed unless put in
// place; a writer of it must close it before it goes out of scope.
std::unique_ptr<QTemporaryFile> temporaryBeside(const QString &path);

// What becomes of a file found at the place: the user's database is kept (and the build fails), a
// reference file is replaced at once.
enum class Existing { Keep, Replace };

// Puts the finished temporary file at path, readable by all. Throws BuildError naming path.
void putInPlace(QTemporaryFile &temporary, const QString &path, Existing existing);

} // namespace builddb

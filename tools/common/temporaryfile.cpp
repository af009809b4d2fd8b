// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/temporaryfile.h"

#include "tools/common/builderror.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace builddb {

std::unique_ptr<QTemporaryFile> temporaryBeside(const QString &path)
{
    const QFileInfo target(path);
    if (!QDir().mkpath(target.absolutePath()))
        throw BuildError(target.absolutePath(), QStringLiteral("cannot be created"));
    auto temporary = std::make_unique<QTemporaryFile>(
        QDir(target.absolutePath()).filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!temporary->open())
        throw BuildError(temporary->fileTemplate(),
                         QStringLiteral("cannot be created: ") + temporary->errorString());
    temporary->close();
    // A temporary file is private to its owner; the built file is an ordinary one.
    temporary->setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return temporary;
}

void putInPlace(QTemporaryFile &temporary, const QString &path, Existing existing)
{
    if (existing == Existing::Keep) {
        // QFile::rename never replaces a file, should one have appeared during the build.
        if (!temporary.rename(path))
            throw BuildError(path, QStringLiteral("cannot be written: ") + temporary.errorString());
    } else if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                           QFile::encodeName(path).constData()) != 0) {
        throw BuildError(path, QStringLiteral("cannot be written: ") +
                                   QString::fromLocal8Bit(std::strerror(errno)));
    }
    temporary.setAutoRemove(false); // the renamed file is the result
}

} // namespace builddb

// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/importsource.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace importsource {

namespace {

QString tooLarge(qint64 limit)
{
    return QStringLiteral("文件太大（超过 %1 MB），不像是诗集。").arg(limit / (1024 * 1024));
}

QString cannotRead(int error)
{
    if (error == ENOENT)
        return QStringLiteral("文件不存在。");
    if (error == EACCES || error == EPERM)
        return QStringLiteral("没有读取这个文件的权限。");
    return QStringLiteral("读不了文件：%1").arg(QString::fromLocal8Bit(std::strerror(error)));
}

// Why a file of this kind is not read; empty for an ordinary file.
QString kindRefusal(const QString &path, mode_t mode)
{
    if (S_ISLNK(mode))
        return QStringLiteral("这是符号链接（指向 %1），导入不跟随链接；请直接选它所指的文件。")
            .arg(QFileInfo(path).symLinkTarget());
    if (S_ISDIR(mode))
        return QStringLiteral("这是文件夹，不是文件。");
    if (!S_ISREG(mode))
        return QStringLiteral("这不是普通文件（是设备、管道或套接字），不能导入。");
    return {};
}

} // namespace

Bytes fromFile(const QString &path, qint64 limit)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat seen {};
    if (::lstat(name.constData(), &seen) != 0)
        return {{}, cannotRead(errno)};
    if (const QString refused = kindRefusal(path, seen.st_mode); !refused.isEmpty())
        return {{}, refused};
    if (seen.st_size > limit)
        return {{}, tooLarge(limit)};

    // What was looked at may be swapped before it is opened: the descriptor is checked again, and
    // opening neither follows a link nor waits on a pipe.
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {{}, errno == ELOOP ? kindRefusal(path, S_IFLNK) : cannotRead(errno)};
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return {{}, kindRefusal(path, opened.st_mode)};
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {{}, QStringLiteral("读不了文件：%1").arg(file.errorString())};
    }
    return fromDevice(file, limit);
}

Bytes fromDevice(QIODevice &device, qint64 limit)
{
    QByteArray bytes;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = device.read(buffer, sizeof buffer);
        if (n < 0)
            return {{}, QStringLiteral("读不了文件：%1").arg(device.errorString())};
        if (n == 0)
            return {bytes, {}};
        bytes.append(buffer, n);
        if (bytes.size() > limit)
            return {{}, tooLarge(limit)};
    }
}

} // namespace importsource

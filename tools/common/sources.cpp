// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/sources.h"

#include "tools/common/builderror.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>

#include <bzlib.h>

#include <memory>

namespace builddb {

SourcePaths SourcePaths::installed()
{
    return {QStringLiteral(SHIHAI_SOURCE_ROOT), QStringLiteral("/usr/share/unicode")};
}

QString SourcePaths::nodeModule(const QString &relative) const
{
    return QDir(root).filePath(QStringLiteral("node_modules/") + relative);
}

QString SourcePaths::cipuBook() const
{
    return QDir(root).filePath(QStringLiteral("data/yuding-cipu"));
}

QString SourcePaths::unihanFile(const QString &name) const
{
    return QDir(unihan).filePath(name);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw BuildError(path, QStringLiteral("missing"));
    if (!file.open(QIODevice::ReadOnly))
        throw BuildError(path, QStringLiteral("cannot be read: ") + file.errorString());
    return file.readAll();
}

QByteArray readBzip2File(const QString &path)
{
    return readBzip2Head(path, -1);
}

QByteArray readBzip2Head(const QString &path, qsizetype bytes)
{
    const QByteArray packed = readFile(path);
    bz_stream stream{};
    if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK)
        throw BuildError(path, QStringLiteral("cannot start bzip2 decompression"));
    const std::unique_ptr<bz_stream, int (*)(bz_stream *)> guard(&stream, BZ2_bzDecompressEnd);

    stream.next_in = const_cast<char *>(packed.constData());
    stream.avail_in = static_cast<unsigned>(packed.size());
    QByteArray out;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (;;) {
        stream.next_out = chunk.data();
        stream.avail_out = static_cast<unsigned>(chunk.size());
        const int rc = BZ2_bzDecompress(&stream);
        out.append(chunk.constData(), chunk.size() - stream.avail_out);
        if (bytes >= 0 && out.size() >= bytes)
            return out;
        if (rc == BZ_STREAM_END) {
            // Concatenated streams (as pbzip2 writes them) continue after the first end.
            if (stream.avail_in == 0)
                return out;
            BZ2_bzDecompressEnd(&stream);
            char *next = stream.next_in;
            const unsigned left = stream.avail_in;
            stream = bz_stream{};
            if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK)
                throw BuildError(path, QStringLiteral("cannot start bzip2 decompression"));
            stream.next_in = next;
            stream.avail_in = left;
            continue;
        }
        if (rc != BZ_OK)
            throw BuildError(path, QStringLiteral("is not valid bzip2 data (error %1)").arg(rc));
        if (stream.avail_in == 0 && stream.avail_out != 0)
            throw BuildError(path, QStringLiteral("is truncated"));
    }
}

QJsonDocument readJsonFile(const QString &path)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(readFile(path), &error);
    if (error.error != QJsonParseError::NoError)
        throw BuildError(
            path,
            QStringLiteral("is not valid JSON (%1 at byte %2)").arg(error.errorString()).arg(error.offset));
    return doc;
}

QJsonObject readJsonObject(const QString &path)
{
    const QJsonDocument doc = readJsonFile(path);
    if (!doc.isObject())
        throw BuildError(path, QStringLiteral("does not hold a JSON object"));
    return doc.object();
}

QJsonArray readJsonArray(const QString &path)
{
    const QJsonDocument doc = readJsonFile(path);
    if (!doc.isArray())
        throw BuildError(path, QStringLiteral("does not hold a JSON array"));
    return doc.array();
}

QJsonDocument readThroughNode(const QString &packageDir, const QString &script)
{
    // A missing package is reported as such, not as a failure of node.
    readFile(QDir(packageDir).filePath(QStringLiteral("package.json")));
    QProcess node;
    node.start(QStringLiteral("node"), {QStringLiteral("-e"), script, QDir(packageDir).absolutePath()});
    if (!node.waitForStarted())
        throw BuildError(packageDir, QStringLiteral("cannot run node to read it: ") + node.errorString());
    if (!node.waitForFinished(120000) || node.exitStatus() != QProcess::NormalExit || node.exitCode() != 0)
        throw BuildError(packageDir, QStringLiteral("node could not load it: ") +
                                         QString::fromUtf8(node.readAllStandardError()).trimmed());
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(node.readAllStandardOutput(), &error);
    if (error.error != QJsonParseError::NoError)
        throw BuildError(packageDir,
                         QStringLiteral("node wrote no valid JSON for it (%1)").arg(error.errorString()));
    return doc;
}

QString packageVersion(const QString &packageDir)
{
    const QString manifest = QDir(packageDir).filePath(QStringLiteral("package.json"));
    const QString version = readJsonObject(manifest).value(QStringLiteral("version")).toString();
    if (version.isEmpty())
        throw BuildError(manifest, QStringLiteral("names no version"));
    return version;
}

} // namespace builddb

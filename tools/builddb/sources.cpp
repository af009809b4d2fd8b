#include "sources.h"

#include "builderror.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

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

} // namespace builddb

// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/exportjob.h"

#include "presentation/works/workwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

ExportJob::ExportJob(QList<Work> works, std::unique_ptr<WorkWriter> writer, const QString &path)
    : m_works(std::move(works))
    , m_path(path)
    , m_writer(std::move(writer))
{
}

ExportJob::~ExportJob() = default;

QString ExportJob::open()
{
    m_file = std::make_unique<QSaveFile>(m_path);
    if (!m_file->open(QIODevice::WriteOnly)) {
        const QString folder = QDir::toNativeSeparators(QFileInfo(m_path).absolutePath());
        const QString reason = m_file->errorString();
        m_file.reset();
        return QStringLiteral("无法在文件夹“%1”中写入文件（%2）。请换一个文件夹。").arg(folder, reason);
    }
    m_done = 0;
    m_writer->begin(m_file.get());
    return {};
}

void ExportJob::step()
{
    m_writer->write(m_works.at(m_done));
    ++m_done;
}

QString ExportJob::commit()
{
    m_writer->end();
    m_writer.reset();
    // What the file still buffers is written first: a failure there (a full disk) would not stop
    // the commit from giving the cut file its name. A failed write stops it, and the temporary
    // file goes.
    const bool flushed = m_file->flush();
    QString reason = m_file->errorString();
    if (!flushed)
        m_file->cancelWriting();
    const bool written = m_file->commit();
    if (flushed)
        reason = m_file->errorString();
    m_file.reset();
    if (written)
        return {};
    return QStringLiteral("写入文件“%1”时出错（%2），文件没有保存。磁盘可能已满。")
        .arg(QDir::toNativeSeparators(m_path), reason);
}

void ExportJob::cancel()
{
    m_writer.reset();
    if (m_file)
        m_file->cancelWriting();
    m_file.reset(); // an uncommitted save file removes its temporary file
}

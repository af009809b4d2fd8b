// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/works/work.h"

#include <QList>
#include <QString>

#include <memory>

class QSaveFile;
class WorkWriter;

// Writes works to a file in one format, a work per step, through a temporary file beside it that
// takes the file's name only once everything is written: a cancelled or failed export leaves no
// file, half-written or otherwise, and an older file of that name stays as it was.
class ExportJob {
public:
    ExportJob(QList<Work> works, std::unique_ptr<WorkWriter> writer, const QString &path);
    ~ExportJob();

    // Opens the temporary file; empty on success, else the message saying why not.
    QString open();
    int total() const { return int(m_works.size()); }
    int done() const { return m_done; }
    void step();
    // Ends the document and gives the file its name; empty on success, else the message (nothing is
    // then left behind).
    QString commit();
    void cancel();

private:
    QList<Work> m_works;
    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
    // Goes before the file it writes to: a writer may still write as it ends.
    std::unique_ptr<WorkWriter> m_writer;
    int m_done = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/works/worksdialogs.h"

#include "pages/works/importpreview.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>

namespace {

WorksDialogs *installed = nullptr;

// The folder the last file was chosen in, for the next dialog.
QString &lastFolder()
{
    static QString folder = QDir::homePath();
    return folder;
}

class ProgressDialog : public WorksDialogs::Progress {
public:
    ProgressDialog(QWidget *parent, const QString &label, int total)
        : m_dialog(label, QStringLiteral("取消"), 0, total, parent)
    {
        m_dialog.setObjectName(QStringLiteral("Works_Progress"));
        m_dialog.setWindowTitle(QStringLiteral("诗海拾贝"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(300);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
    }
    void setValue(int done) override { m_dialog.setValue(done); }
    bool canceled() override { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
};

} // namespace

std::optional<WorksDialogs::SaveTarget> WorksDialogs::saveTarget(QWidget *parent,
                                                                 const QString &suggestedName)
{
    const QStringList filters = exportformat::filters();
    QString filter = filters.first();
    // The name goes without a suffix: the chosen filter's is added, unless one is typed.
    const QString path =
        QFileDialog::getSaveFileName(parent, QStringLiteral("导出作品"), lastFolder() + u'/' + suggestedName,
                                     filters.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty())
        return std::nullopt;
    lastFolder() = QFileInfo(path).absolutePath();
    return exportformat::fromDialog(path, filter);
}

QString WorksDialogs::importFile(QWidget *parent)
{
    const QString path =
        QFileDialog::getOpenFileName(parent, QStringLiteral("导入作品"), lastFolder(),
                                     QStringLiteral("文本文件 (*.txt *.text *.md);;所有文件 (*)"));
    if (!path.isEmpty())
        lastFolder() = QFileInfo(path).absolutePath();
    return path;
}

std::optional<WorksDialogs::ImportChoice>
WorksDialogs::previewImport(QWidget *parent, const QString &fileName, const QString &encoding,
                            const QList<ImportItem> &items, const QString &category)
{
    ImportPreviewDialog dialog(fileName, encoding, items, category, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ImportChoice{dialog.category(), dialog.chosen()};
}

std::unique_ptr<WorksDialogs::Progress> WorksDialogs::progress(QWidget *parent, const QString &label,
                                                               int total)
{
    return std::make_unique<ProgressDialog>(parent, label, total);
}

WorksDialogs &WorksDialogs::current()
{
    static WorksDialogs real;
    return installed ? *installed : real;
}

void WorksDialogs::install(WorksDialogs *dialogs)
{
    installed = dialogs;
}

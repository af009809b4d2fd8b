// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/works/worksfiles.h"

#include "pages/shared/dialogs.h"
#include "pages/works/pdf/writers.h"
#include "pages/works/steps.h"
#include "pages/works/worksdialogs.h"
#include "presentation/works/exportjob.h"
#include "presentation/works/importjob.h"
#include "presentation/works/textimporter.h"
#include "presentation/works/workwriter.h"
#include "presentation/worksmodel.h"

#include <QFileInfo>

namespace worksfiles {

void exportWorks(QWidget *page, WorksTransfer &transfer, WorksModel &model, WorksTransfer::Scope scope)
{
    QList<Work> works = transfer.works(scope);
    if (works.isEmpty()) {
        Dialogs::current().message(page, QStringLiteral("没有可导出的作品。"));
        return;
    }
    const auto target = WorksDialogs::current().saveTarget(page, transfer.suggestedName(scope));
    if (!target)
        return;
    const int count = int(works.size());
    ExportJob job(std::move(works), makeWriter(target->format), target->path);
    if (const QString refused = job.open(); !refused.isEmpty()) {
        Dialogs::current().error(page, refused);
        return;
    }
    const auto progress =
        WorksDialogs::current().progress(page, QStringLiteral("正在导出 %1 篇作品…").arg(count), count);
    if (!runInSteps(job, *progress)) {
        job.cancel();
        return;
    }
    if (const QString refused = job.commit(); !refused.isEmpty()) {
        Dialogs::current().error(page, refused);
        return;
    }
    model.exported(count, QFileInfo(target->path).fileName());
}

void importWorks(QWidget *page, WorksTransfer &transfer, WorksModel &model)
{
    const QString path = WorksDialogs::current().importFile(page);
    if (path.isEmpty())
        return;
    const QString fileName = QFileInfo(path).fileName();
    const TextImporter::Result read = TextImporter::readFile(path);
    if (!read.refusal.isEmpty()) {
        Dialogs::current().message(page, QStringLiteral("无法导入“%1”：%2").arg(fileName, read.refusal));
        return;
    }
    const QList<ImportItem> items = transfer.preview(read.poems);
    const auto choice = WorksDialogs::current().previewImport(page, fileName, read.encoding, items,
                                                              transfer.importCategory());
    if (!choice || choice->chosen.isEmpty())
        return;

    ImportJob job(transfer.connection(), importplan::chosen(items, choice->chosen), choice->category,
                  fileName);
    job.begin();
    const auto progress = WorksDialogs::current().progress(
        page, QStringLiteral("正在导入 %1 首诗…").arg(job.total()), job.total());
    if (!runInSteps(job, *progress)) {
        job.cancel();
        return;
    }
    job.commit();
    model.imported(choice->category, job.total());
}

} // namespace worksfiles

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/works/transfer.h"

class QWidget;
class WorksModel;

// 导出 and 导入 of 经典案例, from the dialogs to the status bar. Both run in steps behind a progress
// dialog with 取消; errors of the data layer are thrown for the page's guard.
namespace worksfiles {

// Asks for the file and its format, writes the works of `scope` and says where in the status bar.
// Nothing in the database changes (a changed work is written first, as a move writes it).
void exportWorks(QWidget *page, WorksTransfer &transfer, WorksModel &model, WorksTransfer::Scope scope);
// Asks for a text file, refuses one that holds no poems with a one-line reason, shows what would be
// added, then adds the chosen poems in one transaction and lists their category.
void importWorks(QWidget *page, WorksTransfer &transfer, WorksModel &model);

} // namespace worksfiles

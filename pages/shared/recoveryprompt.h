// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class Database;
class QWidget;
class RecoveryKeeper;

// The question asked once after the window opens when the last run left unwritten texts in the
// recovery file, through the installed Dialogs.
namespace recoveryprompt {

inline const QString question = QStringLiteral("上次未正常退出，有尚未保存的内容。是否恢复？");

// 是 puts the texts back into their rows as if just typed (a work's category is listed on 经典案例
// through `listCategory` first) and the keeper follows them again; 否 keeps the file aside under a
// dated name; no answer at all (the program ended while asking) leaves it for the next start. A file
// that cannot be offered is set aside with a one-line message and no question. True when the answer
// was 是.
bool offer(QWidget *window, Database &db, RecoveryKeeper &keeper,
           const std::function<void(const QString &)> &listCategory);

// The keeper of what is typed into the window and not yet written, owned by the window; a file the
// last run left stays as it is until the user has been asked about it.
RecoveryKeeper *keeperFor(QWidget *window, Database &db, const QString &databasePath);

} // namespace recoveryprompt

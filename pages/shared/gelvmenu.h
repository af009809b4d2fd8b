// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class QMenu;
class QTextEdit;

// An editor's context menu with the 格律 window's entries: 检查格律, 查韵「X」 for the character the
// click is on, and 词谱 where the caller can open it, above the editor's own entries. The caller owns
// the menu.
QMenu *gelvMenu(QTextEdit *editor, const QPoint &pos, const std::function<void()> &check,
                const std::function<void(const QString &)> &lookUp, const std::function<void()> &cipu = {});

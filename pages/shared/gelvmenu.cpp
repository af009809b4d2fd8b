// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/gelvmenu.h"

#include "presentation/creationmodel.h"

#include <QMenu>
#include <QTextEdit>

QMenu *gelvMenu(QTextEdit *editor, const QPoint &pos, const std::function<void()> &check,
                const std::function<void(const QString &)> &lookUp, const std::function<void()> &cipu)
{
    QMenu *menu = editor->createStandardContextMenu(editor->viewport()->mapToGlobal(pos));
    QAction *first = menu->actions().value(0);
    QAction *checkAction = new QAction(QStringLiteral("检查格律"), menu);
    QObject::connect(checkAction, &QAction::triggered, menu, check);
    menu->insertAction(first, checkAction);
    // The character the click is on: the one whose box holds the point.
    const QTextCursor cursor = editor->cursorForPosition(pos);
    const QRect caret = editor->cursorRect(cursor);
    const QString hanzi =
        CreationModel::characterAt(editor->toPlainText(), cursor.position(), pos.x() < caret.center().x());
    if (!hanzi.isEmpty()) {
        QAction *lookup = new QAction(QStringLiteral("查韵「%1」").arg(hanzi), menu);
        QObject::connect(lookup, &QAction::triggered, menu, [lookUp, hanzi] { lookUp(hanzi); });
        menu->insertAction(first, lookup);
    }
    if (cipu) {
        QAction *cipuAction = new QAction(QStringLiteral("词谱"), menu);
        cipuAction->setObjectName(QStringLiteral("gelv_cipu_Action"));
        QObject::connect(cipuAction, &QAction::triggered, menu, cipu);
        menu->insertAction(first, cipuAction);
    }
    menu->insertSeparator(first);
    return menu;
}

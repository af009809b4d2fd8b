// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/hiddenmenu.h"

#include <QMenuBar>

QMenuBar *hiddenMenuBar(QWidget *window)
{
    auto *bar = new QMenuBar(window);
    bar->setObjectName(QStringLiteral("W_MainMenu"));
    const struct {
        const char *name, *caption, *item1, *caption1, *item2, *caption2;
    } menus[] = {{"N1", "写作", "N2", "记录灵感", "N3", "开始写作"},
                 {"N4", "资料", "N6", "诗海拾贝", "N9", "词语联想"},
                 {"N5", "关于", "N7", "软件简介", "N8", "联系作者"}};
    for (const auto &m : menus) {
        QMenu *menu = bar->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(m.name));
        menu->menuAction()->setVisible(false);
        menu->addAction(QString::fromUtf8(m.caption1))->setObjectName(QString::fromLatin1(m.item1));
        menu->addAction(QString::fromUtf8(m.caption2))->setObjectName(QString::fromLatin1(m.item2));
    }
    return bar;
}

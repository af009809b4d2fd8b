// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMenuBar;
class QWidget;

// The window's menu bar, whose menus are all hidden: it takes no room and shows no entries, but its
// menus and items are there by name.
QMenuBar *hiddenMenuBar(QWidget *window);

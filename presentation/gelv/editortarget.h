// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the 格律 window checks: the draft of 开始创作, or the work shown on 经典案例, whichever editor
// the user last worked in.
struct EditorTarget {
    enum class Kind { Draft, Work };
    Kind kind = Kind::Draft;
    QString title; // the work's title

    // The window's title: "格律 · 草稿" or "格律 · 《静夜思》"; a work without a title is 无题, and a long
    // title is cut short, on one line.
    QString windowTitle() const;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

// Where the 格律 window goes so that it never covers the draft it checks: to the right of the main
// window where the screen has room; else the main window moves left until both fit side by side; where
// even that cannot be (a screen narrower than both), over the main window's left part (the rhyme grids),
// narrowed to end where the draft begins. All rectangles are frames in screen coordinates.
struct GelvPlacement {
    QPoint mainAt; // the main window's new top left (its old one when it stays)
    QRect window;  // the 格律 window's frame
};
GelvPlacement placeGelv(const QRect &room, const QRect &main, const QRect &draft, const QRect &window);

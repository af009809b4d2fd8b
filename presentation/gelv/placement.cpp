// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/placement.h"

#include <algorithm>

namespace {

// Narrower than this the window's lines no longer fit: it then keeps this width.
constexpr int kNarrowest = 240;

} // namespace

GelvPlacement placeGelv(const QRect &room, const QRect &main, const QRect &draft, const QRect &window)
{
    const int width = window.width();
    const int top =
        std::clamp(main.top(), room.top(), std::max(room.top(), room.bottom() + 1 - window.height()));
    if (!room.isValid() || main.right() + 1 + width <= room.right() + 1)
        return {main.topLeft(), QRect(QPoint(main.right() + 1, top), window.size())};
    if (main.width() + width <= room.width()) {
        const int left = room.right() + 1 - width - main.width();
        return {QPoint(left, main.top()), QRect(QPoint(left + main.width(), top), window.size())};
    }
    const int left = std::max(room.left(), main.left());
    const int narrow = std::clamp(draft.left() - left, kNarrowest, width);
    return {main.topLeft(), QRect(left, top, narrow, window.height())};
}

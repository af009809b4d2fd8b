// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/tones.h"

#include <QString>

#include <optional>

// What the 格律 window keeps from one start to the next, in the user's settings file
// (~/.config/shihai/shihai.conf), never in the database: the rhyme book the poet chose, whether the
// window was open, and how far the draft and the marked poem are zoomed.
namespace gelvsettings {

// The book last chosen; nullopt before any was, or for a value the program does not know.
std::optional<prosody::Book> book();
void setBook(prosody::Book book);

bool wasOpen();
void setOpen(bool open);

// A zoom level by the name of what is zoomed; 0 when never zoomed.
int zoom(const QString &name);
void setZoom(const QString &name, int level);

} // namespace gelvsettings

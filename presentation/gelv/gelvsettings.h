#pragma once

#include "prosody/core/tones.h"

#include <optional>

// What the 格律 window keeps from one start to the next, in the user's settings file
// (~/.config/shihai/shihai.conf), never in the database: the rhyme book the poet chose and whether
// the window was open.
namespace gelvsettings {

// The book last chosen; nullopt before any was, or for a value the program does not know.
std::optional<prosody::Book> book();
void setBook(prosody::Book book);

bool wasOpen();
void setOpen(bool open);

} // namespace gelvsettings

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>

// Decodes a JPEG file held in memory with libjpeg. Anything libjpeg reports as broken (an error, or a
// warning about corrupt or missing data) gives the null image: a damaged picture shows nothing
// rather than half a picture, and never ends the program.
QImage decodeJpeg(const QByteArray &data);

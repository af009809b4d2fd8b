// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

// How the arrays of 句律 (db/linetonesschema.h) are packed: the builder writes and the line search
// reads through these, so that both agree on every byte.
namespace classics::tonecodes {

// Unsigned LEB128: seven bits a byte, the lowest first; small numbers take one byte.
void appendVarint(QByteArray &out, quint32 value);
// The whole array; false when it ends inside a number or a number does not fit 32 bits.
bool readVarints(QByteArrayView bytes, std::vector<quint32> &out);

// The classes of a line of length characters, two bits a character from the lowest, in as few
// bytes as they need (a line of five takes two).
void appendTones(QByteArray &out, quint32 code, int length);
// The codes of lines of the given lengths, one after another; false when the sizes disagree.
bool readTones(QByteArrayView bytes, const std::vector<quint8> &lengths, std::vector<quint32> &out);

} // namespace classics::tonecodes

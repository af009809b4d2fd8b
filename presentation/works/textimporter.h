// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;
namespace importsource {
struct Bytes;
}

// A poem read from a text file: its first line the title, the rest its text.
struct Poem {
    QString title;
    QString text;
    // Lines of the text (an empty text has none).
    int lineCount() const;
};

// Reads a text file of poems separated by blank lines, each poem's first line its title. UTF-8 is
// expected (a byte order mark is dropped); GB 18030 and UTF-16 with a byte order mark are
// recognised and converted. Lines written by the plain-text export read back exactly. A file that is
// not text, is empty, or holds nothing that looks like a poem (a title with at least one line under
// it) is refused with a one-line reason, and so is anything but an ordinary file (importsource.h).
class TextImporter {
public:
    struct Result {
        QList<Poem> poems;
        QString encoding; // the name of the encoding the file was read in
        QString refusal;  // empty when the file was read
    };

    static Result read(const QByteArray &bytes);
    static Result readFile(const QString &path);
    // Standard input, say.
    static Result readDevice(QIODevice &device);

    // Larger files are refused, before they are read where the size is known.
    static constexpr qint64 maxBytes = 64 * 1024 * 1024;

private:
    static Result readSource(const importsource::Bytes &source);
};

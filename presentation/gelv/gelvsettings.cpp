// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/gelvsettings.h"

#include <QSettings>

using namespace prosody;

namespace gelvsettings {
namespace {

// The program's own file, whatever the application's name says.
QSettings file()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("shihai"),
                     QStringLiteral("shihai"));
}

// Stored by name, so that the file reads as what the poet chose.
const QString kBook = QStringLiteral("gelv/book");
const QString kOpen = QStringLiteral("gelv/open");

} // namespace

std::optional<Book> book()
{
    const QString name = file().value(kBook).toString();
    for (Book b : allBooks)
        if (bookName(b) == name)
            return b;
    return std::nullopt;
}

void setBook(Book book)
{
    file().setValue(kBook, bookName(book));
}

bool wasOpen()
{
    return file().value(kOpen, false).toBool();
}

void setOpen(bool open)
{
    file().setValue(kOpen, open);
}

int zoom(const QString &name)
{
    return file().value(QStringLiteral("zoom/") + name, 0).toInt();
}

void setZoom(const QString &name, int level)
{
    file().setValue(QStringLiteral("zoom/") + name, level);
}

} // namespace gelvsettings

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/about/picture.h"

#include "pages/about/jpegdecoder.h"

#include <QFile>
#include <QMouseEvent>

namespace {

QByteArray resourceBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Picture::Picture(QWidget *parent, const QString &name, const QString &resource, int left, int top,
                 bool clickable)
    : QLabel(parent)
{
    setObjectName(name);
    setGeometry(left, top, 88, 31);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setPixmap(QPixmap::fromImage(decodeJpeg(resourceBytes(resource))));
    setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void Picture::mousePressEvent(QMouseEvent *event)
{
    // Accepted, so that the release comes back to this picture.
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

// A click is a left press and a release over the picture.
void Picture::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

// 关于软件 without widgets: the program's text and the web page each clickable picture opens, one
// about each source the dictionary is built from.
class AboutModel : public QObject {
    Q_OBJECT
public:
    explicit AboutModel(QObject *parent = nullptr);

    // The text of the page as the window is built, line by line.
    static QStringList lines();

    struct Link {
        QString picture; // objectName of the picture
        QUrl address;
    };
    // The pictures that open a page, in the column's order.
    static const QList<Link> &links();
    // The page a picture opens; empty for a picture that takes no clicks.
    static QUrl addressOf(const QString &picture);

    // The page is shown: the condition and the counts are emptied.
    void show();

signals:
    void statusChanged(int panel, const QString &text);
};

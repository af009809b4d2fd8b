// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A picture shown unscaled from a JPEG resource; clicked() follows a left click on it.
class Picture : public QLabel {
    Q_OBJECT
public:
    Picture(QWidget *parent, const QString &name, const QString &resource, int left, int top, bool clickable);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

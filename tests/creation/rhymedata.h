#pragma once

#include "pages/shared/dbgrid.h"
#include "tests/creation/rhymerows.h"
#include "tests/support/fixture.h"

#include <QStringList>
#include <QTest>

// One column of a grid, top to bottom, as shown.
inline QStringList gridColumn(const DbGrid *grid, int column)
{
    QStringList out;
    const QAbstractItemModel *model = grid->model();
    for (int row = 0; row < model->rowCount(); ++row)
        out << model->index(row, column).data().toString();
    return out;
}

// Types text into a widget key by key (keyClicks cannot send Chinese characters).
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

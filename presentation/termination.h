// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT, SIGHUP and SIGQUIT as a Qt signal of the event loop. The handler itself only
// writes the signal's number to a pipe; a socket notifier reads it on the main thread, where the
// program may write its rows. One object at a time; the default actions come back when it goes.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signal);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};

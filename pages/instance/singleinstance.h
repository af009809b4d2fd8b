// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;
class QWidget;

// One copy of the program per database. The first start on a database holds a lock keyed on the
// database's absolute path and listens for later starts; a later start on the same database asks
// that copy to bring its window to the front and ends, before it opens the database or looks at
// its recovery file. A lock left by a copy that has ended is taken over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static const QString alreadyRunning;

    explicit SingleInstance(const QString &databasePath, QObject *parent = nullptr);
    ~SingleInstance() override;

    // No other live copy holds the database. Also true when the lock cannot be made at all (no
    // folder for it): the program then runs unguarded rather than not at all.
    bool isFirst() const { return m_first; }

    // A later copy: asks the first to show its window; false when it did not answer in time.
    bool askFirstToShow(int timeoutMs = 5000) const;
    // A later copy: asks the first to show its window, or says that the program is already running
    // when it cannot be reached. The exit status: 0 when the first copy answered.
    int handOver(int timeoutMs = 5000) const;

    // The first copy: `window` (or the question it has open) comes to the front at each request.
    void raiseOnRequest(QWidget *window);

    // The lock of a database: beside it (W.mdb.lock), or in the temporary folder when the
    // database's folder takes no new file.
    static QString lockFileFor(const QString &databasePath);
    static QString fallbackLockFileFor(const QString &databasePath);
    // The name the first copy listens on, in the abstract socket namespace, for this user.
    static QString serverNameFor(const QString &databasePath);

signals:
    // A later start on the same database asked this copy to show itself.
    void showRequested();

private:
    void listen();
    void answer();

    QString m_databasePath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_first = false;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/instance/singleinstance.h"

#include "pages/shared/dialogs.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QWidget>

#include <unistd.h>

const QString SingleInstance::alreadyRunning = QStringLiteral("诗海拾贝已在运行");

namespace {

const QByteArray showRequest = "show\n";
const QByteArray shownReply = "shown\n";

// The same file reached by another path (a link, a relative path) is the same database.
QString canonicalPath(const QString &databasePath)
{
    const QFileInfo info(databasePath);
    return info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
}

// The database and the user, for names that cannot sit beside the database.
QString keyOf(const QString &databasePath)
{
    const QByteArray hash =
        QCryptographicHash::hash(canonicalPath(databasePath).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("shihai-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.toHex().left(16)));
}

} // namespace

QString SingleInstance::lockFileFor(const QString &databasePath)
{
    return canonicalPath(databasePath) + QStringLiteral(".lock");
}

QString SingleInstance::fallbackLockFileFor(const QString &databasePath)
{
    return QDir::tempPath() + u'/' + keyOf(databasePath) + QStringLiteral(".lock");
}

QString SingleInstance::serverNameFor(const QString &databasePath)
{
    return keyOf(databasePath);
}

// The lock sits beside the database, so every copy finds it whatever its environment; a folder that
// takes no new file (read-only) sends it to the temporary folder.
SingleInstance::SingleInstance(const QString &databasePath, QObject *parent)
    : QObject(parent)
    , m_databasePath(databasePath)
{
    for (const QString &file : {lockFileFor(databasePath), fallbackLockFileFor(databasePath)}) {
        m_lock = std::make_unique<QLockFile>(file);
        // Stale only when its copy has ended, however long that copy has been running.
        m_lock->setStaleLockTime(0);
        m_first = m_lock->tryLock(0);
        if (m_first || m_lock->error() == QLockFile::LockFailedError)
            break;
    }
    if (!m_first && m_lock->error() != QLockFile::LockFailedError) {
        qWarning("%s", qPrintable(QStringLiteral("无法建立锁文件 %1").arg(m_lock->fileName())));
        m_first = true;
    }
    if (m_first)
        listen();
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::listen()
{
    // A name outside the file system: it ends with its process and never goes stale.
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    const QString name = serverNameFor(m_databasePath);
    if (!m_server->listen(name))
        qWarning("%s", qPrintable(QStringLiteral("无法监听 %1：%2").arg(name, m_server->errorString())));
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

void SingleInstance::answer()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == showRequest) {
                emit showRequested();
                socket->write(shownReply);
            }
            socket->disconnectFromServer();
        });
    }
}

bool SingleInstance::askFirstToShow(int timeoutMs) const
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(serverNameFor(m_databasePath));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(showRequest);
    socket.flush();
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.readLine() == shownReply;
}

int SingleInstance::handOver(int timeoutMs) const
{
    if (askFirstToShow(timeoutMs))
        return 0;
    Dialogs::current().message(nullptr, alreadyRunning);
    return 1;
}

void SingleInstance::raiseOnRequest(QWidget *window)
{
    connect(this, &SingleInstance::showRequested, window, [window] {
        if (window->isMinimized())
            window->showNormal();
        window->raise();
        window->activateWindow();
        // A question the window has open stays in front of it.
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != window) {
            modal->raise();
            modal->activateWindow();
        }
    });
}

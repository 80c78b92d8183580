#include "app/SingleInstance.h"

#include "core/QvError.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace {
constexpr int kClaimMs = 15000;
const QByteArray kShown = QByteArrayLiteral("ok\n");

// Short enough for a socket path; the same for every spelling of the folder.
QString socketNameFor(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("quorvane-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash));
}
} // namespace

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent)
    : QObject(parent)
    , m_folder(dataFolder)
    , m_socketName(socketNameFor(dataFolder))
    , m_lock(QDir(dataFolder).filePath(QStringLiteral("quorvane.lock")))
{
    // A live holder keeps its lock however old it is; a dead one's lock is taken over.
    m_lock.setStaleLockTime(0);
}

SingleInstance::Role SingleInstance::claim()
{
    const QDeadlineTimer deadline(kClaimMs);
    do {
        if (m_lock.tryLock(0))
            return Role::First;
        if (m_lock.error() != QLockFile::LockFailedError)
            throw QvError(QStringLiteral("Não foi possível criar \"%1\" na pasta de dados.")
                              .arg(QDir(m_folder).filePath(QStringLiteral("quorvane.lock"))));
        // The holder may still be starting: it listens once its main window is up.
        if (askFirst())
            return Role::Later;
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    throw QvError(QStringLiteral("O Maravel Quorvane já está em execução com a pasta de dados "
                                 "\"%1\", mas não responde.")
                      .arg(m_folder));
}

void SingleInstance::listen()
{
    // We hold the lock: a socket of that name can only be a dead program's.
    QLocalServer::removeServer(m_socketName);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    if (!m_server.listen(m_socketName))
        qWarning("quorvane: a second start cannot reach this one: %s",
                 qPrintable(m_server.errorString()));
}

void SingleInstance::stopListening() { m_server.close(); }

bool SingleInstance::askFirst()
{
    QLocalSocket socket;
    socket.connectToServer(m_socketName);
    if (!socket.waitForConnected(500))
        return false;
    while (socket.bytesAvailable() < kShown.size() && socket.waitForReadyRead(3000)) {
    }
    return socket.readAll() == kShown;
}

void SingleInstance::answer()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->write(kShown);
        socket->flush();
        socket->disconnectFromServer();
        Q_EMIT showRequested();
    }
}

#include "app/SingleInstance.h"

#include "core/QvError.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <unistd.h>

namespace {
constexpr int kClaimMs = 15000;
constexpr int kAnswerMs = 3000;
const QByteArray kHeader = QByteArrayLiteral("quorvane-abrir 1");
const QByteArray kEnd = QByteArrayLiteral(".");
const QByteArray kAddress = QByteArrayLiteral("A ");
const QByteArray kNotice = QByteArrayLiteral("N ");
const QByteArray kShown = QByteArrayLiteral("ok\n");

// Short enough for a socket path; the same for every spelling of the folder.
QString socketNameFor(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("quorvane-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash));
}

QByteArray oneLine(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    bytes.replace('\n', ' ');
    return bytes;
}
} // namespace

// What one later start has sent so far; it lives as long as its socket, or until it is whole.
class SingleInstance::Incoming : public QObject {
public:
    using QObject::QObject;
    enum class State { Waiting, Whole, Broken };
    bool reading = false;
    bool headerRead = false;
    QStringList addresses;
    QStringList notices;

    State readFrom(QLocalSocket& socket)
    {
        while (socket.canReadLine()) {
            QByteArray line = socket.readLine(SingleInstance::kMaxLineBytes + 2);
            if (!line.endsWith('\n'))
                return State::Broken;
            line.chop(1);
            if (headerRead && line == kEnd)
                return State::Whole;
            if (!take(line))
                return State::Broken;
        }
        return socket.bytesAvailable() > SingleInstance::kMaxLineBytes ? State::Broken
                                                                       : State::Waiting;
    }

    // Takes one line without its "\n"; false when it is none of what a later start sends.
    bool take(const QByteArray& line)
    {
        if (!headerRead) {
            headerRead = line == kHeader;
            return headerRead;
        }
        if (line.startsWith(kAddress) && addresses.size() < StartAddresses::kMaxAddresses) {
            addresses << QString::fromUtf8(line.mid(kAddress.size()));
            return addresses.back().size() <= kMaxAddressLength;
        }
        if (line.startsWith(kNotice) && notices.size() < StartAddresses::kMaxNotices) {
            notices << QString::fromUtf8(line.mid(kNotice.size()));
            return notices.back().size() <= StartAddresses::kMaxNoticeLength;
        }
        return false;
    }
};

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent)
    : QObject(parent)
    , m_folder(dataFolder)
    , m_socketName(socketNameFor(dataFolder))
    , m_lock(QDir(dataFolder).filePath(QStringLiteral("quorvane.lock")))
{
    // A live holder keeps its lock however old it is; a dead one's lock is taken over.
    m_lock.setStaleLockTime(0);
}

QByteArray SingleInstance::message(const StartAddresses::Result& start)
{
    QByteArray out = kHeader + '\n';
    for (const QString& a : start.addresses.mid(0, StartAddresses::kMaxAddresses))
        out += kAddress + oneLine(a.left(kMaxAddressLength)) + '\n';
    for (const QString& n : start.notices.mid(0, StartAddresses::kMaxNotices))
        out += kNotice + oneLine(n.left(StartAddresses::kMaxNoticeLength)) + '\n';
    return out + kEnd + '\n';
}

SingleInstance::Role SingleInstance::claim(const StartAddresses::Result& start)
{
    const QByteArray handOver = message(start);
    const QDeadlineTimer deadline(kClaimMs);
    do {
        if (m_lock.tryLock(0))
            return Role::First;
        if (m_lock.error() != QLockFile::LockFailedError)
            throw QvError(QStringLiteral("Não foi possível criar \"%1\" na pasta de dados.")
                              .arg(QDir(m_folder).filePath(QStringLiteral("quorvane.lock"))));
        // The holder may still be starting: it listens once its main window is up.
        if (askFirst(handOver))
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

bool SingleInstance::askFirst(const QByteArray& message)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketName);
    if (!socket.waitForConnected(500))
        return false;
    const QDeadlineTimer deadline(kAnswerMs);
    socket.write(message);
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(deadline.remainingTime())) {
    }
    while (socket.bytesAvailable() < kShown.size() &&
           socket.waitForReadyRead(deadline.remainingTime())) {
    }
    return socket.readAll() == kShown;
}

void SingleInstance::answer()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (m_clients >= kMaxClients) {
            // The later start tries again shortly.
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_clients;
        connect(socket, &QObject::destroyed, this, [this] { --m_clients; });
        const QPointer<Incoming> in = new Incoming(socket);
        // Qt buffers no more than one line; a longer one ends the connection.
        socket->setReadBufferSize(kMaxLineBytes + 2);
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket, in] { receive(socket, in); });
        QTimer::singleShot(kReadMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        receive(socket, in);
    }
}

void SingleInstance::receive(QLocalSocket* socket, Incoming* in)
{
    // Reading a line can announce the next bytes at once, inside this call: they are read by
    // this loop.
    if (!in || in->reading)
        return; // answered already, or being read
    in->reading = true;
    const Incoming::State state = in->readFrom(*socket);
    in->reading = false;
    switch (state) {
    case Incoming::State::Waiting:
        return;
    case Incoming::State::Broken:
        socket->abort();
        socket->deleteLater();
        return;
    case Incoming::State::Whole:
        break;
    }
    const StartAddresses::Result start = StartAddresses::fromHandedOver(in->addresses, in->notices);
    delete in;
    socket->write(kShown);
    socket->flush();
    socket->disconnectFromServer();
    // Opening may show notices, which wait in an event loop of their own: not inside this
    // socket's signal.
    QTimer::singleShot(0, this,
                       [this, start] { Q_EMIT openRequested(start.addresses, start.notices); });
}

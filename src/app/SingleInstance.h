#pragma once

#include "core/StartAddresses.h"
#include "core/UrlTools.h"

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalSocket;

// One running program per data folder. The first start holds a lock file in the data folder and,
// once its main window is up, listens on a local socket named after the folder; a later start on
// the same folder finds the lock taken, hands its addresses and notices to the first one through
// the socket and ends. A lock or socket left by a program that died is taken over.
//
// What the first one reads of a later start is bounded: a header line, at most
// StartAddresses::kMaxAddresses address lines and kMaxNotices notice lines, each line at most
// kMaxLineBytes, all within kReadMs, from at most kMaxClients starts at a time. Anything else
// ends the connection with nothing opened; the UI thread never waits for a client.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);

    static constexpr qsizetype kMaxLineBytes = 2 + 3 * kMaxAddressLength;
    static constexpr int kReadMs = 5000;
    static constexpr int kMaxClients = 4;

    enum class Role { First, Later };
    // Takes the folder's lock (First), or hands `start` to the program holding it, which then
    // shows itself and opens the addresses (Later). Throws QvError when the lock can be neither
    // taken nor its holder reached within a few seconds.
    Role claim(const StartAddresses::Result& start = {});
    // The first start: from now on each later start raises openRequested.
    void listen();
    // The program is ending: later starts are no longer answered, so that none of them takes
    // this ending program for a running one; they wait for the lock instead.
    void stopListening();

    // What a later start sends, and where (the tests write it by hand too).
    static QByteArray message(const StartAddresses::Result& start);
    const QString& socketName() const { return m_socketName; }

Q_SIGNALS:
    // A later start asked for the program: the addresses to open, checked again here
    // (StartAddresses::fromHandedOver), and its notices. Both empty: only show the window.
    void openRequested(const QStringList& addresses, const QStringList& notices);

private:
    bool askFirst(const QByteArray& message);
    void answer();
    class Incoming;
    void receive(QLocalSocket* socket, Incoming* in);

    QString m_folder;
    QString m_socketName;
    QLockFile m_lock;
    QLocalServer m_server;
    int m_clients = 0;
};

#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// One running program per data folder. The first start holds a lock file in the data folder and,
// once its main window is up, listens on a local socket named after the folder; a later start on
// the same folder finds the lock taken, tells the first one through the socket and ends. A lock
// or socket left by a program that died is taken over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);

    enum class Role { First, Later };
    // Takes the folder's lock (First), or reaches the program holding it, which is then asked to
    // show itself (Later). Throws QvError when the lock can be neither taken nor its holder
    // reached within a few seconds.
    Role claim();
    // The first start: from now on each later start raises showRequested.
    void listen();
    // The program is ending: later starts are no longer answered, so that none of them takes
    // this ending program for a running one; they wait for the lock instead.
    void stopListening();

Q_SIGNALS:
    void showRequested();

private:
    bool askFirst();
    void answer();

    QString m_folder;
    QString m_socketName;
    QLockFile m_lock;
    QLocalServer m_server;
};

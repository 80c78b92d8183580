#pragma once

#include "storage/SessionStore.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <memory>

class BrowserControl;

// Keeps the browser's pages in the session file as they change: the first change starts a
// delay of kWriteDelay, at whose end the whole session goes to the store's writer thread, so
// that a page changing its title a thousand times a second costs one write a second. A normal
// end of the program stores that no page is open.
class SessionKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kWriteDelay{1000};

    SessionKeeper(BrowserControl* browser, std::unique_ptr<SessionStore> store, QObject* parent);

    SessionStore& store() const { return *m_store; }
    // The program ends normally; returns once stored.
    void endNormally();

private:
    void write();

    QPointer<BrowserControl> m_browser;
    std::unique_ptr<SessionStore> m_store;
    QTimer m_delay;
    bool m_ended = false;
};

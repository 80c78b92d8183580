#pragma once

#include "storage/PermissionStore.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <functional>
#include <optional>

// The program's one queue of questions whether a site may use something. Nothing is allowed
// without the user's word: a decision remembered for the origin and kind answers at once; any
// other request waits for the question window, which shows one question at a time, only once
// the engine's call has returned, and only while a page that asked is shown (not hidden in the
// tray, not minimized) and no other question or login is up. The answer is remembered and goes
// to every page that asked the same origin and kind meanwhile. A decision that cannot be read is
// a refusal, told once; it holds until the program ends or the decision is forgotten.
//
// The queue holds one entry per origin and kind, and one request per page in it: a page that
// asks again and again adds nothing. With kMostWaiting entries waiting (the one asked about
// among them), a request is refused at once
// (and nothing is remembered). A page that navigates away or closes drops its requests; an entry
// no page waits for any more goes, and its question with it.
class PermissionPrompt : public QObject {
    Q_OBJECT
public:
    using Reply = std::function<void(bool allowed)>;
    using Shown = std::function<bool()>;

    static constexpr int kMostWaiting = 32;

    static PermissionPrompt& instance();

    // The kind a feature of the engine is asked about as (the decisions' recurso).
    static QString kindOf(QWebEnginePage::Feature feature);
    // `origin` as decisions keep it: scheme, host and port.
    static QString originKey(const QUrl& origin);

    // A request of `page` for `kind` in the name of `origin`; `reply` runs once with the answer
    // (at once for a remembered decision), or never when the page drops the request first.
    // `shown` tells whether the page is on screen.
    void request(QObject* page, const QUrl& origin, const QString& kind, const Shown& shown,
                 const Reply& reply);
    // Drops the requests of `page`: all of them, or those of one origin and kind.
    void drop(QObject* page, const QString& origin = {}, const QString& kind = {});
    // A page came into sight: a question waiting for it is asked now.
    void pageShown();
    // The entries waiting, the one asked about included.
    int waiting() const;

private:
    using Decision = PermissionStore::Decision;
    struct Waiter {
        QObject* key;
        QPointer<QObject> page;
        Shown shown;
        Reply reply;
    };
    struct Entry {
        QString origin;
        QString host;
        QString site;
        QString kind;
        QList<Waiter> waiters;
    };

    PermissionPrompt();
    std::optional<Decision> known(const QString& origin, const QString& kind);
    Entry* entryFor(const QString& origin, const QString& kind);
    void watch(QObject* page);
    void pumpLater();
    void pump();
    static bool mayShow(const Entry& entry);
    void answer(bool allowed);

    QList<Entry> m_queue;
    std::optional<Entry> m_asking;
    QSet<QObject*> m_watched;
    // Looks again while entries wait for a page to be shown or for another window to go.
    QTimer m_retry;
    // Decisions the configuration file could not give or keep, by origin and kind.
    QHash<QString, Decision> m_unsaved;
};

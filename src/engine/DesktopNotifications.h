#pragma once

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QDBusMessage;
class QWebEngineNotification;
class QWebEngineProfile;

// Shows the pages' notifications on the desktop, through the notification service of the
// session bus (org.freedesktop.Notifications): the page's title (the site's host when it has
// none) as the sending program's name, the notification's title as the summary, its text (cut
// to 1,000 characters, escaped where the service reads markup) as the body, and its picture,
// when it has one, as the image. A click on it (where the service offers actions) brings the
// main window up and tells the page; its closing on the desktop tells the page; one the page
// withdraws is closed on the desktop. With no session bus, no service on it, or a service that
// fails or does not answer in time, a page notice shows the text instead.
//
// Every call to the service is asynchronous: a service that never answers freezes nothing.
// A site that sends more than 10 notifications within a minute has the rest dropped, with one
// log line a minute for that site.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    // One notification as a page gives it, and how to tell the page what became of it.
    struct Request {
        QUrl origin;
        QString source;
        QString title;
        QString body;
        QImage icon;
        std::function<void()> shown;
        std::function<void()> clicked;
        std::function<void()> closed;
    };
    using Handle = quint64;

    static constexpr int kPerMinute = 10;
    static constexpr int kBodyLength = 1000;
    static constexpr int kTitleLength = 200;
    // How long the service has to answer before the notice shows the text instead.
    static constexpr int kAnswerMs = 10000;

    // Talks to the service on `bus`; a click on a notification runs `bringUp` before the page
    // hears of it.
    DesktopNotifications(const QDBusConnection& bus, std::function<void()> bringUp,
                         QObject* parent);

    // Presents the notifications of `profile`'s pages on the session bus, bringing the main
    // window up on a click. The presenter, made with the first notification, is a child of the
    // profile.
    static void attach(QWebEngineProfile* profile);

    // Shows `request`; nothing when its site has sent too many this minute. The handle names it
    // for withdraw().
    std::optional<Handle> post(Request request);
    // The page withdrew the notification: it goes from the desktop (nothing once it has gone).
    void withdraw(Handle handle);

private:
    struct Live {
        Request request;
        uint id = 0; // the service's number, 0 until it has answered
        bool withdrawn = false;
    };

    void present(std::unique_ptr<QWebEngineNotification> notification);
    bool withinRate(const QString& site);
    void askCapabilities();
    void capabilitiesAnswered(const QDBusMessage& reply);
    void send(Handle handle);
    QDBusMessage notifyCall(const Request& request) const;
    void sent(Handle handle, const QDBusMessage& reply);
    void showNotice(Handle handle);
    void closeOnDesktop(uint id);
    Q_SLOT void actionInvoked(uint id, const QString& action);
    Q_SLOT void notificationClosed(uint id, uint reason);

    QDBusConnection m_bus;
    std::function<void()> m_bringUp;
    QHash<Handle, Live> m_live;
    QHash<uint, Handle> m_byId;
    Handle m_next = 1;
    // What the service said it can do; unknown until it has answered, and again after a failure.
    std::optional<QStringList> m_capabilities;
    bool m_asking = false;
    // Notifications that wait for the service's capabilities.
    QList<Handle> m_waiting;
    // For each site, when its notifications of the last minute came, and when it was last logged.
    QHash<QString, QList<qint64>> m_sent;
    QHash<QString, qint64> m_logged;
    QElapsedTimer m_clock;
};

#include "engine/DesktopNotifications.h"

#include "chrome/SkinnedForm.h"
#include "core/DisplayText.h"
#include "core/ErrorReporter.h"
#include "dialogs/PageNotice.h"
#include "forms/MainWindow.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>
#include <QWebEngineNotification>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
constexpr qint64 kMinuteMs = 60000;
// A larger picture is scaled down: the service shows an icon, and the bus carries it whole.
constexpr int kIconSide = 256;

QDBusMessage call(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

// At most `length` UTF-16 units, never half a surrogate pair.
QString cut(const QString& text, int length)
{
    if (text.size() <= length)
        return text;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

// The image-data hint: width, height, row length, alpha, bits per sample, channels, bytes.
QVariant imageData(const QImage& icon)
{
    QImage image = icon;
    if (image.width() > kIconSide || image.height() > kIconSide)
        image = image.scaled(kIconSide, kIconSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    image = image.convertToFormat(QImage::Format_RGBA8888);
    QDBusArgument arg;
    arg.beginStructure();
    arg << image.width() << image.height() << int(image.bytesPerLine()) << true << 8 << 4
        << QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    arg.endStructure();
    return QVariant::fromValue(arg);
}

// The page's own title; nothing when it has none (the engine then gives its address).
QString ownTitle(const QWebEnginePage& page)
{
    const QString title = page.title();
    const QUrl url = page.url();
    if (title == url.toString() || QStringLiteral("//") + title == url.toString(QUrl::RemoveScheme))
        return {};
    return title;
}

// The title of the page shown from `origin`; its host when no such page has a title.
QString sourceOf(const QUrl& origin)
{
    const QList<QWidget*> widgets = QApplication::allWidgets();
    for (QWidget* w : widgets) {
        auto* view = qobject_cast<QWebEngineView*>(w);
        if (!view || !view->page())
            continue;
        const QUrl shown = view->page()->url();
        const QString title = ownTitle(*view->page());
        if (shown.scheme() == origin.scheme() && shown.host() == origin.host() &&
            shown.port() == origin.port() && !title.isEmpty())
            return cut(DisplayText::oneLine(title), DesktopNotifications::kTitleLength);
    }
    return origin.host().isEmpty() ? origin.toString() : origin.host();
}

// The main window comes back from the tray if it hides there, and to the top.
void bringMainWindowUp()
{
    BaseForm& main = MainWindow::get().form();
    auto* skinned = qobject_cast<SkinnedForm*>(&main);
    if (skinned && !skinned->isVisible() && skinned->trayIconVisible())
        skinned->trayActivated(QSystemTrayIcon::Trigger);
    if (!main.isVisible())
        return; // another window holds the screen place: it stays
    if (main.isMinimized())
        main.showNormal();
    main.raise();
    main.activateWindow();
}
} // namespace

DesktopNotifications::DesktopNotifications(const QDBusConnection& bus,
                                           std::function<void()> bringUp, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
    , m_bringUp(std::move(bringUp))
{
    m_clock.start();
    if (!m_bus.isConnected())
        return;
    // The bus names signal handlers by their signatures only.
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(actionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(notificationClosed(uint, uint)));
}

void DesktopNotifications::attach(QWebEngineProfile* profile)
{
    // The session bus is reached with the first notification: a program whose pages never
    // notify never connects to it.
    auto presenter = std::make_shared<QPointer<DesktopNotifications>>();
    profile->setNotificationPresenter(
        [profile, presenter](std::unique_ptr<QWebEngineNotification> notification) {
            ErrorReporter::guard([&] {
                if (!*presenter)
                    *presenter = new DesktopNotifications(QDBusConnection::sessionBus(),
                                                          bringMainWindowUp, profile);
                (*presenter)->present(std::move(notification));
            });
        });
}

void DesktopNotifications::present(std::unique_ptr<QWebEngineNotification> notification)
{
    // Deleted later: the notification may be withdrawn from inside its own signal.
    std::shared_ptr<QWebEngineNotification> n(notification.release(),
                                              [](QWebEngineNotification* p) { p->deleteLater(); });
    Request request{n->origin(), sourceOf(n->origin()), n->title(),          n->message(),
                    n->icon(),   [n] { n->show(); },    [n] { n->click(); }, [n] { n->close(); }};
    const std::optional<Handle> handle = post(std::move(request));
    if (handle)
        connect(n.get(), &QWebEngineNotification::closed, this,
                [this, h = *handle] { ErrorReporter::guard([&] { withdraw(h); }); });
}

std::optional<DesktopNotifications::Handle> DesktopNotifications::post(Request request)
{
    if (!withinRate(request.origin.toString()))
        return std::nullopt;
    const Handle handle = m_next++;
    m_live.insert(handle, Live{std::move(request)});
    if (!m_bus.isConnected()) {
        showNotice(handle);
    } else if (m_capabilities) {
        send(handle);
    } else {
        m_waiting.append(handle);
        askCapabilities();
    }
    return handle;
}

bool DesktopNotifications::withinRate(const QString& site)
{
    const qint64 now = m_clock.elapsed();
    QList<qint64>& times = m_sent[site];
    while (!times.isEmpty() && now - times.first() >= kMinuteMs)
        times.removeFirst();
    if (times.size() < kPerMinute) {
        times.append(now);
        return true;
    }
    const auto logged = m_logged.constFind(site);
    if (logged == m_logged.cend() || now - *logged >= kMinuteMs) {
        m_logged.insert(site, now);
        qWarning("quorvane: %s sent more than %d notifications in a minute; the rest of this "
                 "minute's are dropped",
                 qPrintable(site), kPerMinute);
    }
    return false;
}

void DesktopNotifications::askCapabilities()
{
    if (m_asking)
        return;
    m_asking = true;
    auto* watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(call(QStringLiteral("GetCapabilities")), kAnswerMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        ErrorReporter::guard([&] { capabilitiesAnswered(watcher->reply()); });
    });
}

void DesktopNotifications::capabilitiesAnswered(const QDBusMessage& reply)
{
    m_asking = false;
    const bool answered =
        reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
    if (answered)
        m_capabilities = reply.arguments().constFirst().toStringList();
    const QList<Handle> waiting = std::exchange(m_waiting, {});
    for (Handle h : waiting) {
        if (!m_live.contains(h))
            continue; // withdrawn meanwhile
        if (answered)
            send(h);
        else
            showNotice(h);
    }
}

void DesktopNotifications::send(Handle handle)
{
    auto* watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(notifyCall(m_live.value(handle).request), kAnswerMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, handle] {
        watcher->deleteLater();
        ErrorReporter::guard([&] { sent(handle, watcher->reply()); });
    });
}

QDBusMessage DesktopNotifications::notifyCall(const Request& request) const
{
    QString body = cut(request.body, kBodyLength);
    if (m_capabilities->contains(QStringLiteral("body-markup")))
        body = body.toHtmlEscaped();
    QStringList actions;
    if (m_capabilities->contains(QStringLiteral("actions")))
        actions = {QStringLiteral("default"), QStringLiteral("Abrir")};
    QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral(QV_APP_ID)}};
    if (!request.icon.isNull())
        hints.insert(QStringLiteral("image-data"), imageData(request.icon));
    QDBusMessage message = call(QStringLiteral("Notify"));
    message << request.source << uint(0) << QStringLiteral(QV_APP_ID)
            << cut(DisplayText::oneLine(request.title), kTitleLength) << body << actions << hints
            << int(-1);
    return message;
}

void DesktopNotifications::sent(Handle handle, const QDBusMessage& reply)
{
    const auto it = m_live.find(handle);
    if (it == m_live.end())
        return;
    const bool numbered =
        reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
    if (!numbered)
        m_capabilities.reset(); // the service went or failed: asked again next time
    if (it->withdrawn) {
        const uint id = numbered ? reply.arguments().constFirst().toUInt() : 0;
        m_live.erase(it);
        if (id != 0)
            closeOnDesktop(id);
        return;
    }
    if (!numbered)
        return showNotice(handle);
    it->id = reply.arguments().constFirst().toUInt();
    m_byId.insert(it->id, handle);
    const std::function<void()> shown = it->request.shown;
    if (shown)
        shown();
}

void DesktopNotifications::showNotice(Handle handle)
{
    const Request request = m_live.take(handle).request;
    QString text = DisplayText::oneLine(request.source) + QStringLiteral(": ") +
                   DisplayText::oneLine(request.title);
    if (!request.body.isEmpty())
        text += QStringLiteral(" - ") + DisplayText::oneLine(cut(request.body, kBodyLength));
    PageNotice::post(PageNotice::Kind::PageNotification, text);
    if (request.shown)
        request.shown();
}

void DesktopNotifications::withdraw(Handle handle)
{
    const auto it = m_live.find(handle);
    if (it == m_live.end())
        return;
    if (it->id == 0) {
        it->withdrawn = true; // on its way: closed when the service has numbered it
        if (m_waiting.contains(handle))
            m_live.erase(it);
        return;
    }
    m_byId.remove(it->id);
    const uint id = it->id;
    m_live.erase(it);
    closeOnDesktop(id);
}

void DesktopNotifications::closeOnDesktop(uint id)
{
    QDBusMessage message = call(QStringLiteral("CloseNotification"));
    message << id;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, kAnswerMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, watcher, &QObject::deleteLater);
}

void DesktopNotifications::actionInvoked(uint id, const QString& action)
{
    const auto it = m_byId.constFind(id);
    if (it == m_byId.cend() || action != QStringLiteral("default"))
        return;
    const std::function<void()> clicked = m_live.value(*it).request.clicked;
    ErrorReporter::guard([&] {
        if (m_bringUp)
            m_bringUp();
        if (clicked)
            clicked();
    });
}

// Whatever the reason (expired, dismissed, closed by the service), the page hears "close".
void DesktopNotifications::notificationClosed(uint id, uint /*reason*/)
{
    const auto it = m_byId.constFind(id);
    if (it == m_byId.cend())
        return;
    const std::function<void()> closed = m_live.take(*it).request.closed;
    m_byId.remove(id);
    if (closed)
        ErrorReporter::guard(closed);
}

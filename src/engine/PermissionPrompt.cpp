#include "engine/PermissionPrompt.h"

#include "core/ErrorReporter.h"
#include "core/QvError.h"
#include "dialogs/LoginForm.h"
#include "dialogs/PermissionForm.h"
#include "dialogs/QuestionForm.h"
#include "engine/LoginPrompt.h"
#include "forms/Forms.h"

#include <utility>

namespace {
// How often a waiting question looks again whether it may show.
constexpr int kRetryMs = 250;
// While every question waits for a page out of sight: a page brought forward asks at once
// (pageShown), a window out of the tray within this.
constexpr int kHiddenRetryMs = 1000;

QString keyOf(const QString& origin, const QString& kind) { return origin + u'\n' + kind; }

QString hostOf(const QUrl& origin)
{
    if (origin.host().isEmpty())
        return origin.toString();
    return origin.port() == -1 ? origin.host()
                               : origin.host() + u':' + QString::number(origin.port());
}
} // namespace

PermissionPrompt& PermissionPrompt::instance()
{
    static PermissionPrompt prompt;
    return prompt;
}

PermissionPrompt::PermissionPrompt()
{
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { ErrorReporter::guard([this] { pump(); }); });
    connect(&PermissionStore::Notifier::instance(), &PermissionStore::Notifier::forgotten, this,
            [this](const QString& origin, const QString& kind) {
                if (origin.isEmpty())
                    m_unsaved.clear();
                else
                    m_unsaved.remove(keyOf(origin, kind));
            });
}

QString PermissionPrompt::kindOf(QWebEnginePage::Feature feature)
{
    using namespace PermissionStore;
    switch (feature) {
    case QWebEnginePage::Notifications:
        return QString::fromUtf16(kNotifications);
    case QWebEnginePage::Geolocation:
        return QString::fromUtf16(kLocation);
    case QWebEnginePage::MediaAudioCapture:
        return QString::fromUtf16(kMicrophone);
    case QWebEnginePage::MediaVideoCapture:
        return QString::fromUtf16(kCamera);
    case QWebEnginePage::MediaAudioVideoCapture:
        return QString::fromUtf16(kCameraAndMicrophone);
    case QWebEnginePage::MouseLock:
        return QString::fromUtf16(kPointer);
    case QWebEnginePage::DesktopVideoCapture:
    case QWebEnginePage::DesktopAudioVideoCapture:
        break;
    }
    return QString::fromUtf16(kScreen);
}

QString PermissionPrompt::originKey(const QUrl& origin)
{
    return origin
        .adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery |
                  QUrl::RemoveFragment)
        .toString();
}

void PermissionPrompt::request(QObject* page, const QUrl& origin, const QString& kind,
                               const Shown& shown, const Reply& reply)
{
    const QString key = originKey(origin);
    // A request like one that waits joins it without reading the file again.
    Entry* entry = entryFor(key, kind);
    if (!entry) {
        if (const std::optional<Decision> decision = known(key, kind))
            return reply(*decision == Decision::Allow);
        if (waiting() >= kMostWaiting)
            return reply(false);
        m_queue.append({key, hostOf(origin), LoginPrompt::siteOf(origin), kind, {}});
        entry = &m_queue.last();
    }
    for (const Waiter& w : entry->waiters) {
        if (w.key == page)
            return;
    }
    entry->waiters.append({page, page, shown, reply});
    watch(page);
    pumpLater();
}

std::optional<PermissionStore::Decision> PermissionPrompt::known(const QString& origin,
                                                                 const QString& kind)
{
    const QString key = keyOf(origin, kind);
    if (const auto unsaved = m_unsaved.constFind(key); unsaved != m_unsaved.constEnd())
        return *unsaved;
    try {
        return PermissionStore::decision(origin, kind);
    } catch (const QvError& e) {
        // Refused, and told once the engine's call has returned.
        m_unsaved.insert(key, Decision::Deny);
        QTimer::singleShot(0, this, [message = e.message()] { ErrorReporter::report(message); });
        return Decision::Deny;
    }
}

PermissionPrompt::Entry* PermissionPrompt::entryFor(const QString& origin, const QString& kind)
{
    if (m_asking && m_asking->origin == origin && m_asking->kind == kind)
        return &*m_asking;
    for (Entry& e : m_queue) {
        if (e.origin == origin && e.kind == kind)
            return &e;
    }
    return nullptr;
}

void PermissionPrompt::watch(QObject* page)
{
    if (m_watched.contains(page))
        return;
    m_watched.insert(page);
    connect(page, &QObject::destroyed, this, [this, page] { drop(page); });
}

void PermissionPrompt::drop(QObject* page, const QString& origin, const QString& kind)
{
    const auto dropFrom = [&](Entry& e) {
        if (!origin.isEmpty() && (e.origin != origin || e.kind != kind))
            return;
        e.waiters.removeIf([&](const Waiter& w) { return w.key == page || !w.page; });
    };
    for (Entry& e : m_queue)
        dropFrom(e);
    m_queue.removeIf([](const Entry& e) { return e.waiters.isEmpty(); });
    if (origin.isEmpty()) {
        m_watched.remove(page);
        disconnect(page, &QObject::destroyed, this, nullptr);
    }
    if (m_asking) {
        dropFrom(*m_asking);
        if (m_asking->waiters.isEmpty()) {
            m_asking.reset();
            PermissionForm::withdraw();
            pumpLater();
        }
    }
}

int PermissionPrompt::waiting() const { return int(m_queue.size()) + (m_asking ? 1 : 0); }

void PermissionPrompt::pumpLater()
{
    QTimer::singleShot(0, this, [this] { ErrorReporter::guard([this] { pump(); }); });
}

bool PermissionPrompt::mayShow(const Entry& entry)
{
    for (const Waiter& w : entry.waiters) {
        if (w.page && (!w.shown || w.shown()))
            return true;
    }
    return false;
}

void PermissionPrompt::pump()
{
    if (m_asking || m_queue.isEmpty()) {
        m_retry.stop();
        return;
    }
    const bool otherUp = Forms::ifLoaded<QuestionForm>() || Forms::ifLoaded<LoginForm>() ||
                         LoginForm::waiting() || Forms::ifLoaded<PermissionForm>();
    for (qsizetype i = 0; !otherUp && i < m_queue.size(); ++i) {
        if (!mayShow(m_queue[i]))
            continue;
        m_retry.stop();
        m_asking = m_queue.takeAt(i);
        PermissionForm::ask(m_asking->host, m_asking->site, m_asking->kind,
                            [this](bool allowed) { answer(allowed); });
        return;
    }
    m_retry.start(otherUp ? kRetryMs : kHiddenRetryMs);
}

void PermissionPrompt::pageShown()
{
    if (!m_queue.isEmpty())
        pumpLater();
}

void PermissionPrompt::answer(bool allowed)
{
    if (!m_asking)
        return;
    const Entry entry = *std::exchange(m_asking, std::nullopt);
    const Decision decision = allowed ? Decision::Allow : Decision::Deny;
    for (const Waiter& w : entry.waiters) {
        if (w.page)
            w.reply(allowed);
    }
    pumpLater();
    try {
        PermissionStore::remember(entry.origin, entry.kind, decision);
    } catch (const QvError& e) {
        // The answer holds for this run; the user hears why it is not kept.
        m_unsaved.insert(keyOf(entry.origin, entry.kind), decision);
        QTimer::singleShot(0, this, [message = e.message()] { ErrorReporter::report(message); });
    }
}

#include "engine/TrackingProtection.h"

#include "core/QvError.h"
#include "storage/ConfigStore.h"
#include "storage/PermissionStore.h"

#include <QMutex>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInfo>

#include <atomic>

namespace {
std::atomic<bool> g_sendGpc{true};

// The cookie filter runs on the engine's own thread.
QMutex g_lock;
QSet<QString> g_allowedHosts;

QSet<QString> hostsAllowedCookies()
{
    QSet<QString> hosts;
    try {
        const QString kind = QString::fromUtf16(PermissionStore::kThirdPartyCookies);
        for (const QString& origin : PermissionStore::allowedOrigins(kind))
            hosts.insert(QUrl(origin).host().toLower());
    } catch (const QvError& e) {
        qWarning("quorvane: no site may use third-party cookies: %s", qPrintable(e.message()));
    }
    hosts.remove(QString());
    return hosts;
}

bool isValue(const std::optional<QString>& value, QLatin1StringView expected)
{
    return value && value->trimmed().compare(expected, Qt::CaseInsensitive) == 0;
}
} // namespace

TrackingProtection::Settings TrackingProtection::readSettings()
{
    Settings s;
    try {
        s.refuseThirdPartyCookies = !isValue(ConfigStore::setting(QString::fromUtf16(kCookiesKey)),
                                             QLatin1StringView("permitir"));
        s.sendGpc = !isValue(ConfigStore::setting(QString::fromUtf16(kGpcKey)),
                             QLatin1StringView("desligado"));
    } catch (const QvError& e) {
        qWarning("quorvane: tracking protection stays on: %s", qPrintable(e.message()));
    }
    return s;
}

void TrackingProtection::apply(QWebEngineProfile* profile, const Settings& settings)
{
    g_sendGpc = settings.sendGpc;
    setAllowedHosts(hostsAllowedCookies());
    profile->cookieStore()->setCookieFilter(
        [settings](const QWebEngineCookieStore::FilterRequest& request) {
            const QMutexLocker locked(&g_lock);
            return acceptCookie(request.firstPartyUrl, request.thirdParty, settings,
                                g_allowedHosts);
        });
}

bool TrackingProtection::acceptCookie(const QUrl& firstParty, bool thirdParty,
                                      const Settings& settings, const QSet<QString>& allowedHosts)
{
    if (!thirdParty || !settings.refuseThirdPartyCookies)
        return true;
    const QString host = firstParty.host().toLower();
    return !host.isEmpty() && allowedHosts.contains(host);
}

void TrackingProtection::addHeaders(QWebEngineUrlRequestInfo& info)
{
    if (g_sendGpc)
        info.setHttpHeader(QByteArrayLiteral("Sec-GPC"), QByteArrayLiteral("1"));
}

void TrackingProtection::setAllowedHosts(QSet<QString> hosts)
{
    const QMutexLocker locked(&g_lock);
    g_allowedHosts = std::move(hosts);
}

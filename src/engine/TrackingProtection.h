#pragma once

#include <QSet>
#include <QString>

class QUrl;
class QWebEngineProfile;
class QWebEngineUrlRequestInfo;

// Fewer trackers, by default: cookies of third parties (set or sent by a frame, a picture or a
// script of another site than the page's) are refused, except on the pages of a site the user
// allowed them for (table Permissoes, kind "cookies de terceiros"), and every request carries
// "Sec-GPC: 1" (Global Privacy Control: the user does not want the site to sell or share what it
// learns). Table Ajustes of QV_Config.mdb turns either off: key "cookies de terceiros" with the
// value "permitir", key "sec-gpc" with "desligado".
namespace TrackingProtection {

struct Settings {
    bool refuseThirdPartyCookies = true;
    bool sendGpc = true;
};

inline constexpr char16_t kCookiesKey[] = u"cookies de terceiros";
inline constexpr char16_t kGpcKey[] = u"sec-gpc";

// From table Ajustes. A configuration that cannot be read gives the defaults (the protection
// on), after a line in the log: browsing goes on, and the failure is the configuration's to tell.
Settings readSettings();

// Installs the cookie filter on the profile, with the hosts the user's decisions allow (none
// when they cannot be read, after a line in the log); the headers follow the same settings.
void apply(QWebEngineProfile* profile, const Settings& settings);

// Whether a cookie may be set or sent: a page's own always; a third party's only when the
// refusal is off or the page's host is among the allowed ones.
bool acceptCookie(const QUrl& firstParty, bool thirdParty, const Settings& settings,
                  const QSet<QString>& allowedHosts);

// The headers every request of a page gets.
void addHeaders(QWebEngineUrlRequestInfo& info);

// The hosts whose pages may use third-party cookies (from the user's decisions). Any thread.
void setAllowedHosts(QSet<QString> hosts);

} // namespace TrackingProtection

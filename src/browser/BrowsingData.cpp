#include "browser/BrowsingData.h"

#include "browser/WebProfile.h"

#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

void clearBrowsingData()
{
    QWebEngineProfile* profile = WebProfile::persistent();
    profile->cookieStore()->deleteAllCookies();
    profile->clearHttpCache();
    profile->clearAllVisitedLinks();
    // FIXME: clear the history store here
}

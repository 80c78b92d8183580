#include "engine/BrowsingData.h"

#include "engine/WebProfile.h"
#include "storage/HistoryStore.h"

#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

void clearBrowsingData(HistoryStore* history)
{
    QWebEngineProfile* profile = WebProfile::persistent();
    profile->cookieStore()->deleteAllCookies();
    profile->clearHttpCache();
    profile->clearAllVisitedLinks();
    // Last: a history file that cannot be cleared is reported after the engine has forgotten.
    if (history)
        history->clear();
}

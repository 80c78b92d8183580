#include "engine/WebProfile.h"

#include "engine/DesktopNotifications.h"
#include "engine/DownloadSaver.h"
#include "engine/LocalFileGuard.h"
#include "engine/TrackingProtection.h"

#include <QCoreApplication>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {
void restrictLocalPages(QWebEngineProfile* p)
{
    QWebEngineSettings* s = p->settings();
    // Off, this engine refuses a local page every other local file, its own pictures and style
    // sheets included (the start page and saved .htm pages would lose them). On, it would also
    // let the page's scripts read any file the user can: LocalFileGuard refuses those reads.
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    p->setUrlRequestInterceptor(new LocalFileGuard(p));
    // A local page may not read from the network either (the engine's default, set on purpose:
    // a page saved on disk must not send what it read anywhere).
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
}

void configure(QWebEngineProfile* p)
{
    p->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    p->setHttpAcceptLanguage(QStringLiteral("pt-BR,pt;q=0.9,en;q=0.8"));
    restrictLocalPages(p);
    // A video's full-screen button works; the window that shows it is ours.
    p->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    // A script opens a window only in answer to a click or a key: a pop-up from a timer or on
    // load is refused.
    p->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    // Text fields are checked in Brazilian Portuguese, with the dictionary in
    // qtwebengine_dictionaries/ of the installation folder.
    p->setSpellCheckLanguages({QStringLiteral("pt_BR")});
    p->setSpellCheckEnabled(true);
    TrackingProtection::apply(p, TrackingProtection::readSettings());
}
} // namespace

QWebEngineProfile* WebProfile::persistent()
{
    static QWebEngineProfile* profile = [] {
        auto* p = new QWebEngineProfile(QStringLiteral("quorvane"), QCoreApplication::instance());
        configure(p);
        new DownloadSaver(p);
        DesktopNotifications::attach(p);
        return p;
    }();
    return profile;
}

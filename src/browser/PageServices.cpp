#include "browser/PageServices.h"

#include "browser/DownloadSaver.h"
#include "browser/LoginPrompt.h"
#include "browser/NavigationPolicy.h"
#include "browser/WebPage.h"

#include <QWebEngineProfile>
#include <QWebEngineSettings>

void PageServices::attach(WebPage& page)
{
    for (QWebEngineSettings* settings : {page.profile()->settings(), page.settings()}) {
        settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
        settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, true);
    }
    DownloadSaver::attach(page.profile());
    new LoginPrompt(&page);
    NavigationPolicy::watchUserInput();
}

#include "engine/PageServices.h"

#include "engine/DownloadSaver.h"
#include "engine/LoginPrompt.h"
#include "engine/NavigationPolicy.h"
#include "engine/WebPage.h"

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

#include "engine/PageServices.h"

#include "engine/LoginPrompt.h"
#include "engine/NavigationPolicy.h"
#include "engine/WebPage.h"

#include <QWebEngineProfile>
#include <QWebEngineSettings>

LoginPrompt* PageServices::attach(WebPage& page)
{
    for (QWebEngineSettings* settings : {page.profile()->settings(), page.settings()}) {
        settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
        settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, true);
    }
    NavigationPolicy::watchUserInput();
    return new LoginPrompt(&page);
}

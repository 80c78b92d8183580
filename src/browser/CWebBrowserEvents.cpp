#include "browser/CWebBrowserEvents.h"

#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "forms/BrowserControl.h"

void CWebBrowserEvents::setWebBrowser(BrowserControl* browser)
{
    disconnect(m_connection);
    m_browser = browser;
    if (browser) {
        m_connection = connect(browser, &BrowserControl::DocumentComplete, this,
                               [this] { ErrorReporter::guard([this] { DocumentComplete(); }); });
    }
}

void CWebBrowserEvents::DocumentComplete()
{
    if (!m_browser)
        return;
    // The control's current top-level address, exactly and case-sensitively.
    if (m_browser->LocationURL() == QLatin1String("about:blank"))
        m_browser->Navigate(applicationDir() + QStringLiteral("/Web/erro404.htm"));
}

#include "engine/NewWindowRequest.h"

#include "engine/WebPage.h"

NewWindowRequest::NewWindowRequest(WebPage* opener)
    : QWebEnginePage(opener->profile(), opener)
    , m_opener(opener)
{
}

bool NewWindowRequest::acceptNavigationRequest(const QUrl& url, NavigationType type,
                                               bool isMainFrame)
{
    if (!isMainFrame)
        return false;
    m_opener->navigateFromNewWindow(url, type);
    deleteLater();
    return false;
}

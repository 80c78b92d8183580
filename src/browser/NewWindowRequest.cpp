#include "browser/NewWindowRequest.h"

NewWindowRequest::NewWindowRequest(QWebEnginePage* opener)
    : QWebEnginePage(opener->profile(), opener)
    , m_opener(opener)
{
}

bool NewWindowRequest::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame)
{
    if (!isMainFrame)
        return false;
    m_opener->load(url);
    deleteLater();
    return false;
}

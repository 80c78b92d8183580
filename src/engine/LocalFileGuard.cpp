#include "engine/LocalFileGuard.h"

#include "engine/TrackingProtection.h"

void LocalFileGuard::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    TrackingProtection::addHeaders(info);
    // Nothing the program shows in the engine is a qrc: file: every such request is a page's.
    if (info.requestUrl().scheme().compare(u"qrc", Qt::CaseInsensitive) == 0) {
        info.block(true);
        return;
    }
    if (!info.requestUrl().isLocalFile())
        return;
    switch (info.resourceType()) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
    case QWebEngineUrlRequestInfo::ResourceTypeScript:
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
    case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
        return;
    default:
        info.block(true);
    }
}

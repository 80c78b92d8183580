#include "engine/LocalFileGuard.h"

#include "engine/TrackingProtection.h"

void LocalFileGuard::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    TrackingProtection::addHeaders(info);
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

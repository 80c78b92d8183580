#pragma once

#include <QWebEngineUrlRequestInterceptor>

// Keeps local pages to themselves. Local pages may use other local files as pictures, styles,
// scripts, fonts and media, and open them as pages; anything that would hand a file's bytes to
// a script (XHR, fetch, a frame or object it could reach into) is refused. The program's own
// files (qrc:) are refused to every page, web or local: no picture, link or download reaches
// them. Every request also gets the privacy headers (TrackingProtection).
class LocalFileGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

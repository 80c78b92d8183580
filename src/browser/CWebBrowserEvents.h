#pragma once

#include <QObject>
#include <QPointer>

class BrowserControl;

// Watches the browser and replaces a document left on "about:blank" by the local error page.
class CWebBrowserEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void setWebBrowser(BrowserControl* browser);

private:
    void DocumentComplete();

    QPointer<BrowserControl> m_browser;
    QMetaObject::Connection m_connection;
};

#include "browser/WebPage.h"

#include "browser/NewWindowRequest.h"

WebPage::WebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
    // Certificate errors are refused without a dialog; the engine's own default does that.
    // Location, notifications, camera, microphone, screen and pointer lock are refused at once:
    // the page's promise rejects instead of waiting for an answer that never comes.
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
}

void WebPage::javaScriptAlert(const QUrl& origin, const QString& msg)
{
    if (!m_silent)
        QWebEnginePage::javaScriptAlert(origin, msg);
}

bool WebPage::javaScriptConfirm(const QUrl& origin, const QString& msg)
{
    return m_silent ? false : QWebEnginePage::javaScriptConfirm(origin, msg);
}

bool WebPage::javaScriptPrompt(const QUrl& origin, const QString& msg, const QString& defaultValue,
                               QString* result)
{
    return m_silent ? false : QWebEnginePage::javaScriptPrompt(origin, msg, defaultValue, result);
}

QWebEnginePage* WebPage::createWindow(WebWindowType) { return new NewWindowRequest(this); }

void WebPage::navigateFromNewWindow(const QUrl& url, NavigationType type)
{
    if (acceptNavigationRequest(url, type, true))
        load(url);
}

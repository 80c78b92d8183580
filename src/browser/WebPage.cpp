#include "browser/WebPage.h"

WebPage::WebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
    // Certificate errors and authentication requests that nobody answers are refused without
    // a dialog; the engine's own defaults do that.
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

QWebEnginePage* WebPage::createWindow(WebWindowType) { return this; }

#pragma once

#include <QWebEnginePage>

class LoginPrompt;

// Page policy: when silent, the page never opens a dialog of its own; links that ask for a
// new window open in the same view, after the page that asked; permissions are refused.
class WebPage : public QWebEnginePage {
    Q_OBJECT
public:
    WebPage(QWebEngineProfile* profile, QObject* parent);

    void setSilent(bool silent) { m_silent = silent; }
    // The first address of a window this page asked for, taken as a navigation of this page
    // and judged as one.
    void navigateFromNewWindow(const QUrl& url, NavigationType type);

protected:
    void javaScriptAlert(const QUrl& origin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& origin, const QString& msg, const QString& defaultValue,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override
    {
    }
    QWebEnginePage* createWindow(WebWindowType type) override;
    // Addresses the engine does not show go to the system's handler only after a user's
    // click, and some only after a "SIM"; a web page never opens a local file.
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    bool m_silent = false;
    LoginPrompt* m_login; // a child of the page
};

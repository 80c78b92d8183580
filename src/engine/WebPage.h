#pragma once

#include <QSet>
#include <QWebEnginePage>
#include <functional>

class LoginPrompt;

// Page policy: when silent, the page never opens a dialog of its own; a window the page asks
// for is whatever its window opener makes. What a site asks to use (the
// camera, notifications, ...) goes to the permission questions, in the name of the origin that
// asks; screen sharing is refused with a notice. While the page holds the camera or the
// microphone, a line along the top of its view says so.
class WebPage : public QWebEnginePage {
    Q_OBJECT
public:
    WebPage(QWebEngineProfile* profile, QObject* parent);
    ~WebPage() override;

    // Takes back what the decision of `origin` on `kind` allowed: further requests are asked
    // again, and a capture of the camera or microphone under way stops (the page reloads). An
    // empty origin: every decision went.
    void revoke(const QString& origin, const QString& kind);

    void setSilent(bool silent) { m_silent = silent; }
    // Makes the page for a window this page asks for; none (null) refuses the window.
    using WindowOpener = std::function<QWebEnginePage*(WebWindowType)>;
    void setWindowOpener(WindowOpener opener) { m_windowOpener = std::move(opener); }
    // Whether the page holds the camera or the microphone.
    bool isCapturing() const { return !m_capturing.isEmpty(); }
    // Marks the view now showing the page with what it captures, or with nothing.
    void showCapturing();

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
    void askPermission(const QUrl& origin, Feature feature);
    void answerPermission(const QUrl& origin, Feature feature, bool allowed);
    // Whether the page's view is on screen: not hidden in the tray, not minimized.
    bool shown() const;
    // The page's document goes: its questions and captures with it.
    void leave();
    QString capturingText() const;

    bool m_silent = false;
    // The origins and kinds of capture allowed to this document.
    QSet<QString> m_capturing;
    LoginPrompt* m_login; // a child of the page
    WindowOpener m_windowOpener;
};

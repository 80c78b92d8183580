#pragma once

#include <QWebEnginePage>

// Page policy: when silent, the page never opens a dialog of its own; links that ask for a
// new window open in the same view.
class WebPage : public QWebEnginePage {
    Q_OBJECT
public:
    WebPage(QWebEngineProfile* profile, QObject* parent);

    void setSilent(bool silent) { m_silent = silent; }

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

private:
    bool m_silent = false;
};

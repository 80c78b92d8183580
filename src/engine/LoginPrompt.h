#pragma once

#include <QHash>
#include <QObject>

class QAuthenticator;
class QUrl;
class QWebEnginePage;

// Answers a page's requests for HTTP and proxy authentication with the login window. Each
// address and realm is asked at most three times until the next navigation; after that, or
// after a cancel, the engine shows what the server sent with its refusal.
class LoginPrompt : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxAsks = 3;

    explicit LoginPrompt(QWebEnginePage* page);

    // A new navigation: every address may ask again.
    void reset() { m_asks.clear(); }

private:
    void askSite(const QUrl& url, QAuthenticator* authenticator);
    void askProxy(const QUrl& url, QAuthenticator* authenticator, const QString& proxyHost);
    void ask(const QString& key, const QString& message, QAuthenticator* authenticator);

    QHash<QString, int> m_asks;
};

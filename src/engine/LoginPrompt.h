#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QUrl>
#include <QWebEnginePage>

class QAuthenticator;

// Answers a page's requests for HTTP and proxy authentication with the login window, where the
// user can judge them: the page itself and what it loads from its own site ask; a frame or a
// subresource of another site gets the server's refusal without a window. Each address and
// realm is asked at most three times until the next navigation; a realm refused with Escape is
// not asked again until the user reloads the page or goes elsewhere. Unasked, the engine shows
// what the server sent with its refusal.
class LoginPrompt : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxAsks = 3;

    explicit LoginPrompt(QWebEnginePage* page);

    // A navigation of the page's main frame that the engine goes on with (redirects too): every
    // address may ask again, and after one the user started, so may the refused realms.
    void mainFrameNavigation(const QUrl& url, QWebEnginePage::NavigationType type);

    // The part of an address's host that one owner holds: "banco.com.br" for
    // "www.banco.com.br", the host itself for one label ("localhost") or an IP address; empty
    // without a host.
    static QString siteOf(const QUrl& url);
    // Whether a request for `requested` may ask while the page shows `topLevel`: only the same
    // site does (scheme and port aside).
    static bool mayAsk(const QUrl& requested, const QUrl& topLevel);

private:
    void askSite(const QUrl& url, QAuthenticator* authenticator);
    void askProxy(const QUrl& url, QAuthenticator* authenticator, const QString& proxyHost);
    struct Request;
    void ask(const Request& request, QAuthenticator* authenticator);

    QWebEnginePage* m_page;
    QHash<QString, int> m_asks;
    QSet<QString> m_refused;
    QElapsedTimer m_lastRefusal;
    // The address the main frame is going to, until it has loaded.
    QUrl m_underWay;
};

#include "engine/LoginPrompt.h"

#include "core/ErrorReporter.h"
#include "dialogs/LoginForm.h"

#include <QAuthenticator>
#include <QUrl>
#include <QWebEnginePage>

LoginPrompt::LoginPrompt(QWebEnginePage* page)
    : QObject(page)
{
    connect(page, &QWebEnginePage::authenticationRequired, this, &LoginPrompt::askSite);
    connect(page, &QWebEnginePage::proxyAuthenticationRequired, this, &LoginPrompt::askProxy);
}

void LoginPrompt::askSite(const QUrl& url, QAuthenticator* authenticator)
{
    const QString host = url.host().isEmpty() ? url.toString() : url.host();
    const QString key =
        url.adjusted(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment).toString();
    ask(key, QStringLiteral("%1 pede login\n%2").arg(host, authenticator->realm()), authenticator);
}

void LoginPrompt::askProxy(const QUrl&, QAuthenticator* authenticator, const QString& proxyHost)
{
    ask(QStringLiteral("proxy:") + proxyHost,
        QStringLiteral("O proxy %1 pede login\n%2").arg(proxyHost, authenticator->realm()),
        authenticator);
}

void LoginPrompt::ask(const QString& key, const QString& message, QAuthenticator* authenticator)
{
    int& asks = m_asks[key + u'\n' + authenticator->realm()];
    std::optional<LoginForm::Credentials> answer;
    if (asks < kMaxAsks) {
        ++asks;
        // Called by the engine: a window that cannot be shown is reported and refuses.
        ErrorReporter::guard([&] { answer = LoginForm::ask(message); });
    }
    if (!answer) {
        // A null authenticator cancels: the engine shows the server's own refusal page.
        *authenticator = QAuthenticator();
        return;
    }
    authenticator->setUser(answer->user);
    authenticator->setPassword(answer->password);
}

#include "engine/LoginPrompt.h"

#include "core/ErrorReporter.h"
#include "dialogs/LoginForm.h"
#include "engine/NavigationPolicy.h"

#include <QAuthenticator>
#include <QHostAddress>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

namespace {
// Qt keeps the list of public suffixes behind its cookie rules: a cookie for a parent domain is
// refused exactly when that domain is a public suffix ("com.br", "github.io").
class SuffixRules : public QNetworkCookieJar {
public:
    bool isPublicSuffix(const QString& domain, const QUrl& url) const
    {
        QNetworkCookie cookie("n", "v");
        cookie.setDomain(u'.' + domain);
        return !validateCookie(cookie, url);
    }
};

// The key that refused a login may still count as the user's last input this long after it.
constexpr qint64 kRefusingInputMs = 1000;

QUrl withoutFragment(const QUrl& url) { return url.adjusted(QUrl::RemoveFragment); }
} // namespace

struct LoginPrompt::Request {
    QString address; // with the realm, what the three asks count
    QString origin;  // with the realm, what a refusal silences
    LoginForm::Asker asker;
};

LoginPrompt::LoginPrompt(QWebEnginePage* page)
    : QObject(page)
    , m_page(page)
{
    connect(page, &QWebEnginePage::authenticationRequired, this, &LoginPrompt::askSite);
    connect(page, &QWebEnginePage::proxyAuthenticationRequired, this, &LoginPrompt::askProxy);
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus &&
            withoutFragment(info.url()) == m_underWay)
            m_underWay.clear();
    });
}

void LoginPrompt::mainFrameNavigation(const QUrl& url, QWebEnginePage::NavigationType type)
{
    m_underWay = withoutFragment(url);
    if (type == QWebEnginePage::NavigationTypeRedirect)
        return;
    m_asks.clear();
    // A page that reloads itself right after an Escape must not pass for the user.
    const bool inputAfterRefusal =
        NavigationPolicy::recentUserAction() == NavigationPolicy::UserAction::Recent &&
        (!m_lastRefusal.isValid() || m_lastRefusal.elapsed() > kRefusingInputMs);
    if (type == QWebEnginePage::NavigationTypeTyped || inputAfterRefusal)
        m_refused.clear();
}

QString LoginPrompt::siteOf(const QUrl& url)
{
    QString host = url.host().toLower();
    if (host.endsWith(u'.'))
        host.chop(1);
    if (host.isEmpty() || !QHostAddress(host).isNull())
        return host;
    // The last label alone is always a public suffix, listed or not ("localhost" in
    // "a.localhost").
    const QStringList labels = host.split(u'.');
    QUrl normal(url);
    normal.setHost(host);
    const SuffixRules rules;
    for (qsizetype n = 2; n < labels.size(); ++n) {
        const QString parent = labels.mid(labels.size() - n).join(u'.');
        if (!rules.isPublicSuffix(parent, normal))
            return parent;
    }
    return host;
}

bool LoginPrompt::mayAsk(const QUrl& requested, const QUrl& topLevel)
{
    const QString site = siteOf(requested);
    return !site.isEmpty() && site == siteOf(topLevel);
}

void LoginPrompt::askSite(const QUrl& url, QAuthenticator* authenticator)
{
    const bool topLevel = withoutFragment(url) == m_underWay;
    if (!topLevel && !mayAsk(url, m_page->url())) {
        *authenticator = QAuthenticator();
        return;
    }
    const QString host = url.host().isEmpty() ? url.toString() : url.host();
    const QString address =
        url.adjusted(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment).toString();
    const QString origin = url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath |
                                        QUrl::RemoveQuery | QUrl::RemoveFragment)
                               .toString();
    ask({address, origin, {host, siteOf(url), authenticator->realm()}}, authenticator);
}

void LoginPrompt::askProxy(const QUrl&, QAuthenticator* authenticator, const QString& proxyHost)
{
    const QString site = siteOf(QUrl(QStringLiteral("http://") + proxyHost));
    const QString proxy = QStringLiteral("proxy:") + proxyHost;
    ask({proxy, proxy, {proxyHost, site, authenticator->realm(), true}}, authenticator);
}

void LoginPrompt::ask(const Request& request, QAuthenticator* authenticator)
{
    const QString realm = u'\n' + authenticator->realm();
    int& asks = m_asks[request.address + realm];
    std::optional<LoginForm::Credentials> answer;
    if (asks < kMaxAsks && !m_refused.contains(request.origin + realm) && !LoginForm::waiting()) {
        ++asks;
        QWidget* view = QWebEngineView::forPage(m_page);
        // Called by the engine: a window that cannot be shown is reported and refuses.
        ErrorReporter::guard(
            [&] { answer = LoginForm::ask(request.asker, view ? view->window() : nullptr); });
        if (!answer) {
            m_refused.insert(request.origin + realm);
            m_lastRefusal.start();
        }
    }
    if (!answer) {
        // A null authenticator cancels: the engine shows the server's own refusal page.
        *authenticator = QAuthenticator();
        return;
    }
    authenticator->setUser(answer->user);
    authenticator->setPassword(answer->password);
}

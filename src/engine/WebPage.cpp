#include "engine/WebPage.h"

#include "core/ErrorReporter.h"
#include "core/Platform.h"
#include "dialogs/QuestionForm.h"
#include "engine/LoginPrompt.h"
#include "engine/NavigationPolicy.h"
#include "engine/NewWindowRequest.h"
#include "engine/PageServices.h"

#include <QTimer>

namespace {
void openOutside(const QUrl& url)
{
    const QString address = url.toString(QUrl::FullyEncoded);
    ErrorReporter::guard([&] { Platform::instance().openExternal(address); });
}

// Asked once the engine's call has returned: the engine must not wait on a window.
void askThenOpenOutside(QObject* context, const QUrl& url)
{
    QTimer::singleShot(0, context, [url] {
        ErrorReporter::guard([&] {
            const QString question =
                QStringLiteral("Abrir este endereço \"%1:\" fora do programa?").arg(url.scheme());
            if (QuestionForm::ask(question, url.toString()))
                openOutside(url);
        });
    });
}
} // namespace

WebPage::WebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
    // Certificate errors are refused without a dialog (the engine's default); authentication
    // asks in the login window. Location, notifications, camera, microphone, screen and pointer
    // lock are refused at once: the page's promise rejects instead of waiting for an answer that
    // never comes.
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    m_login = PageServices::attach(*this);
}

bool WebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    using NavigationPolicy::Verdict;
    switch (
        NavigationPolicy::verdict(url, this->url(), type, NavigationPolicy::recentUserAction())) {
    case Verdict::Show:
        if (isMainFrame)
            m_login->mainFrameNavigation(url, type);
        return true;
    case Verdict::OpenExternal:
        openOutside(url);
        return false;
    case Verdict::AskFirst:
        askThenOpenOutside(this, url);
        return false;
    case Verdict::Refuse:
        break;
    }
    return false;
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

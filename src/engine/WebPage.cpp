#include "engine/WebPage.h"

#include "core/ErrorReporter.h"
#include "core/Platform.h"
#include "dialogs/PageNotice.h"
#include "dialogs/QuestionForm.h"
#include "engine/LoginPrompt.h"
#include "engine/NavigationPolicy.h"
#include "engine/PageServices.h"
#include "engine/PermissionPrompt.h"

#include <QLabel>
#include <QTimer>
#include <QWebEngineView>

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
bool isMedia(QWebEnginePage::Feature feature)
{
    return feature == QWebEnginePage::MediaAudioCapture ||
           feature == QWebEnginePage::MediaVideoCapture ||
           feature == QWebEnginePage::MediaAudioVideoCapture;
}

bool isScreen(QWebEnginePage::Feature feature)
{
    return feature == QWebEnginePage::DesktopVideoCapture ||
           feature == QWebEnginePage::DesktopAudioVideoCapture;
}

// The features a decision of `kind` answers for.
QList<QWebEnginePage::Feature> featuresOf(const QString& kind)
{
    QList<QWebEnginePage::Feature> features;
    for (int f = QWebEnginePage::Notifications; f <= QWebEnginePage::DesktopAudioVideoCapture;
         ++f) {
        const auto feature = QWebEnginePage::Feature(f);
        if (!isScreen(feature) && PermissionPrompt::kindOf(feature) == kind)
            features.append(feature);
    }
    return features;
}
} // namespace

WebPage::WebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
    // Certificate errors are refused without a dialog (the engine's default); authentication
    // asks in the login window.
    connect(this, &QWebEnginePage::featurePermissionRequested, this, &WebPage::askPermission);
    connect(this, &QWebEnginePage::featurePermissionRequestCanceled, this,
            [this](const QUrl& origin, Feature feature) {
                PermissionPrompt::instance().drop(this, PermissionPrompt::originKey(origin),
                                                  PermissionPrompt::kindOf(feature));
            });
    connect(this, &QWebEnginePage::loadStarted, this, &WebPage::leave);
    connect(&PermissionStore::Notifier::instance(), &PermissionStore::Notifier::forgotten, this,
            &WebPage::revoke);
    m_login = PageServices::attach(*this);
}

WebPage::~WebPage() { PermissionPrompt::instance().drop(this); }

void WebPage::askPermission(const QUrl& origin, Feature feature)
{
    if (isScreen(feature)) {
        // The engine offers no picker of screens and windows here.
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
        QTimer::singleShot(0, this, [] {
            ErrorReporter::guard([] {
                PageNotice::post(
                    PageNotice::Kind::ScreenShareRefused,
                    QStringLiteral(
                        "O compartilhamento de tela não está disponível neste navegador."));
            });
        });
        return;
    }
    QPointer<WebPage> page(this);
    PermissionPrompt::instance().request(
        this, origin, PermissionPrompt::kindOf(feature), [page] { return page && page->shown(); },
        [page, origin, feature](bool allowed) {
            if (page)
                page->answerPermission(origin, feature, allowed);
        });
}

void WebPage::answerPermission(const QUrl& origin, Feature feature, bool allowed)
{
    setFeaturePermission(origin, feature,
                         allowed ? PermissionGrantedByUser : PermissionDeniedByUser);
    if (allowed && isMedia(feature)) {
        m_capturing.insert(PermissionPrompt::originKey(origin) + u'\n' +
                           PermissionPrompt::kindOf(feature));
        showCapturing();
    }
}

bool WebPage::shown() const
{
    const QWidget* view = QWebEngineView::forPage(this);
    return view && view->isVisible() && !(view->window()->windowState() & Qt::WindowMinimized);
}

void WebPage::revoke(const QString& origin, const QString& kind)
{
    if (origin.isEmpty()) { // every decision went: so does every capture
        if (!m_capturing.isEmpty()) {
            m_capturing.clear();
            showCapturing();
            triggerAction(Reload);
        }
        return;
    }
    for (const Feature feature : featuresOf(kind))
        setFeaturePermission(QUrl(origin), feature, PermissionDeniedByUser);
    // A capture under way ends with the document that holds it.
    if (m_capturing.remove(origin + u'\n' + kind)) {
        m_capturing.clear();
        showCapturing();
        triggerAction(Reload);
    }
}

void WebPage::leave()
{
    PermissionPrompt::instance().drop(this);
    m_capturing.clear();
    showCapturing();
}

QString WebPage::capturingText() const
{
    bool camera = false;
    bool microphone = false;
    for (const QString& held : m_capturing) {
        const QString kind = held.section(u'\n', 1);
        camera = camera || kind != QStringView(PermissionStore::kMicrophone);
        microphone = microphone || kind != QStringView(PermissionStore::kCamera);
    }
    const QString what = !microphone ? QStringLiteral("a sua câmera")
                         : !camera   ? QStringLiteral("o seu microfone")
                                     : QStringLiteral("a sua câmera e o seu microfone");
    return QStringLiteral("Este site está usando %1").arg(what);
}

// A line along the top of the view while the page holds the camera or the microphone.
void WebPage::showCapturing()
{
    QWidget* view = QWebEngineView::forPage(this);
    if (!view)
        return;
    auto* line =
        view->findChild<QLabel*>(QStringLiteral("lblCapturing"), Qt::FindDirectChildrenOnly);
    if (m_capturing.isEmpty()) {
        delete line;
        return;
    }
    if (!line) {
        line = new QLabel(view);
        line->setObjectName(QStringLiteral("lblCapturing"));
        line->setAlignment(Qt::AlignCenter);
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        line->setStyleSheet(QStringLiteral(
            "background-color: #404040; color: #FAFA00; font-weight: bold; padding: 2px;"));
    }
    line->setText(capturingText());
    line->setGeometry(0, 0, view->width(), line->sizeHint().height());
    line->show();
    line->raise();
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

QWebEnginePage* WebPage::createWindow(WebWindowType type)
{
    return m_windowOpener ? m_windowOpener(type) : nullptr;
}

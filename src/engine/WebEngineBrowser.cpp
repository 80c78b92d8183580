#include "engine/WebEngineBrowser.h"

#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/TypedText.h"
#include "core/UrlTools.h"
#include "dialogs/Form5_Msg.h"
#include "engine/FullScreenWindow.h"
#include "engine/WebPage.h"
#include "engine/WebProfile.h"
#include "engine/WebView.h"
#include "forms/WindowTrace.h"

#include <QShortcut>
#include <QTimer>
#include <QWebEngineFindTextResult>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>

namespace {
constexpr int kLoadLineHeight = 2;
// The skin's cyan.
constexpr QRgb kLoadLineColour = 0x00FAFA;

// The local page shown in place of one whose renderer ended; the lost address follows its "#".
QUrl lostPageFile()
{
    return QUrl::fromLocalFile(applicationDir() + QStringLiteral("/Web/parou.htm"));
}
} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget* parent)
    : BrowserControl(parent)
{
}

WebEngineBrowser::~WebEngineBrowser() { delete m_fullScreen; }

// The page is reached through m_page, never through the view: while the page is shown full
// screen, the view holds none.
WebPage* WebEngineBrowser::ensurePage()
{
    if (m_page)
        return m_page;
    m_view = new WebView(this);
    m_page = new WebPage(WebProfile::persistent(), m_view);
    m_page->setSilent(m_silent);
    m_view->setPage(m_page);
    m_view->setGeometry(rect());
    m_view->show();
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        m_loadOk = ok;
        WindowTrace::note(this, "DocumentComplete");
        Q_EMIT DocumentComplete(LocationURL());
    });
    connect(m_page, &QWebEnginePage::titleChanged, this, &BrowserControl::TitleChange);
    connect(m_page, &QWebEnginePage::fullScreenRequested, this,
            &WebEngineBrowser::fullScreenRequested);
    connect(m_page, &QWebEnginePage::findTextFinished, this,
            [this](const QWebEngineFindTextResult& r) {
                Q_EMIT findFinished(r.activeMatch(), r.numberOfMatches());
            });
    connect(m_page, &QWebEnginePage::pdfPrintingFinished, this, &BrowserControl::pdfPrinted);
    // FIXME: a renderer that hangs (an endless script) is not told by this engine version, so its
    // page stays as it froze; the program's buttons and keys go on working.
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            &WebEngineBrowser::rendererEnded);
    createLoadFeedback();
    return m_page;
}

void WebEngineBrowser::createLoadFeedback()
{
    m_loadLine = new QWidget(this);
    m_loadLine->setObjectName(QStringLiteral("loadLine"));
    m_loadLine->setAutoFillBackground(true);
    QPalette pal = m_loadLine->palette();
    pal.setColor(QPalette::Window, QColor(kLoadLineColour));
    m_loadLine->setPalette(pal);
    m_loadLine->hide();
    m_stopKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_stopKey->setContext(Qt::WindowShortcut);
    m_stopKey->setEnabled(false);
    connect(m_stopKey, &QShortcut::activated, m_page,
            [this] { m_page->triggerAction(QWebEnginePage::Stop); });
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] { showProgress(0); });
    connect(m_page, &QWebEnginePage::loadProgress, this, &WebEngineBrowser::showProgress);
    connect(m_page, &QWebEnginePage::loadFinished, this, &WebEngineBrowser::endLoad);
}

void WebEngineBrowser::showProgress(int percent)
{
    if (!m_page->isLoading() && percent >= 100)
        return endLoad();
    m_loadLine->setGeometry(0, 0, width() * qBound(0, percent, 100) / 100, kLoadLineHeight);
    m_loadLine->show();
    m_loadLine->raise();
    m_stopKey->setEnabled(true);
}

void WebEngineBrowser::endLoad()
{
    m_loadLine->hide();
    m_stopKey->setEnabled(false);
}

void WebEngineBrowser::fullScreenRequested(QWebEngineFullScreenRequest request)
{
    request.accept();
    if (!request.toggleOn())
        delete m_fullScreen;
    else if (!m_fullScreen)
        m_fullScreen = new FullScreenWindow(m_view);
}

void WebEngineBrowser::rendererEnded(int status)
{
    if (status == QWebEnginePage::NormalTerminationStatus || showsLostPage())
        return;
    m_lostAddress = m_page->url();
    QUrl page = lostPageFile();
    page.setFragment(m_lostAddress.toString(QUrl::FullyEncoded), QUrl::TolerantMode);
    // Once the engine's call has returned; the local page comes in a new renderer.
    QTimer::singleShot(0, m_page, [this, page] { m_page->load(page); });
}

bool WebEngineBrowser::showsLostPage() const
{
    return m_page && m_page->url().adjusted(QUrl::RemoveFragment) == lostPageFile();
}

void WebEngineBrowser::resizeEvent(QResizeEvent*)
{
    if (m_view)
        m_view->setGeometry(rect());
}

void WebEngineBrowser::Navigate(const QString& address)
{
    const QUrl url = addressToUrl(address);
    // The engine itself trims what a stored address may carry around it.
    if (TypedText::isInternalAddress(url) || TypedText::isInternalAddress(QUrl(address.trimmed())))
        return refuse(address);
    ensurePage()->load(url);
}

// Told once the caller's event is over, as a page's own notices are.
void WebEngineBrowser::refuse(const QString& address)
{
    const QString notice = TypedText::internalNotice(address);
    QTimer::singleShot(0, this, [notice] { ErrorReporter::guard([&] { showNotice(notice); }); });
}

bool WebEngineBrowser::canGoBack() const { return m_page && m_page->history()->canGoBack(); }

bool WebEngineBrowser::canGoForward() const { return m_page && m_page->history()->canGoForward(); }

void WebEngineBrowser::GoBack()
{
    if (canGoBack())
        m_page->triggerAction(QWebEnginePage::Back);
}

void WebEngineBrowser::GoForward()
{
    if (canGoForward())
        m_page->triggerAction(QWebEnginePage::Forward);
}

void WebEngineBrowser::setSilent(bool silent)
{
    m_silent = silent;
    if (m_page)
        m_page->setSilent(silent);
}

QString WebEngineBrowser::LocationURL() const
{
    return m_page ? m_page->url().toString() : QString();
}

QString WebEngineBrowser::LocationName() const { return m_page ? m_page->title() : QString(); }

void WebEngineBrowser::Refresh()
{
    if (showsLostPage())
        m_page->load(m_lostAddress);
    else if (m_page)
        m_page->triggerAction(QWebEnginePage::Reload);
}

qreal WebEngineBrowser::zoomFactor() const { return m_page ? m_page->zoomFactor() : 1.0; }

void WebEngineBrowser::setZoomFactor(qreal factor) { ensurePage()->setZoomFactor(factor); }

QString WebEngineBrowser::title() const { return m_page ? m_page->title() : QString(); }

void WebEngineBrowser::findText(const QString& text, Find direction)
{
    if (!m_page) {
        Q_EMIT findFinished(0, 0);
        return;
    }
    m_page->findText(text, direction == Find::Previous ? QWebEnginePage::FindBackward
                                                       : QWebEnginePage::FindFlags());
}

void WebEngineBrowser::printToPdf(const QString& filePath)
{
    if (!m_page) {
        Q_EMIT pdfPrinted(filePath, false);
        return;
    }
    m_page->printToPdf(filePath);
}

QWebEngineView* WebEngineBrowser::view() const { return m_view; }

#include "browser/WebEngineBrowser.h"

#include "browser/WebPage.h"
#include "core/QvError.h"
#include "core/UrlTools.h"

#include <QCoreApplication>
#include <QDir>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {
// Cookies, logins and cache are kept between runs, as a desktop browser does.
QWebEngineProfile* persistentProfile()
{
    static QWebEngineProfile* profile = [] {
        auto* p = new QWebEngineProfile(QStringLiteral("quorvane"), QCoreApplication::instance());
        p->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
        return p;
    }();
    return profile;
}
} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget* parent)
    : BrowserControl(parent)
{
}

QWebEngineView* WebEngineBrowser::ensureView()
{
    if (m_view)
        return m_view;
    m_view = new QWebEngineView(this);
    m_page = new WebPage(persistentProfile(), m_view);
    m_page->setSilent(m_silent);
    m_view->setPage(m_page);
    m_view->setGeometry(rect());
    m_view->show();
    connect(m_page, &QWebEnginePage::loadFinished, this,
            [this](bool) { Q_EMIT DocumentComplete(LocationURL()); });
    return m_view;
}

void WebEngineBrowser::resizeEvent(QResizeEvent*)
{
    if (m_view)
        m_view->setGeometry(rect());
}

void WebEngineBrowser::Navigate(const QString& address)
{
    ensureView()->load(addressToUrl(address));
}

void WebEngineBrowser::GoBack()
{
    if (!m_view || !m_view->history()->canGoBack())
        throw QvError(QStringLiteral("Não há página anterior."));
    m_view->back();
}

void WebEngineBrowser::GoForward()
{
    if (!m_view || !m_view->history()->canGoForward())
        throw QvError(QStringLiteral("Não há página seguinte."));
    m_view->forward();
}

void WebEngineBrowser::setSilent(bool silent)
{
    m_silent = silent;
    if (m_page)
        m_page->setSilent(silent);
}

QString WebEngineBrowser::LocationURL() const
{
    return m_view ? m_view->url().toString() : QString();
}

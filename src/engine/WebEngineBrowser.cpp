#include "engine/WebEngineBrowser.h"

#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/TypedText.h"
#include "core/UrlTools.h"
#include "dialogs/Form5_Msg.h"
#include "engine/FullScreenWindow.h"
#include "engine/PermissionPrompt.h"
#include "engine/WebPage.h"
#include "engine/WebProfile.h"
#include "engine/WebView.h"
#include "forms/WindowTrace.h"
#include "storage/SessionStore.h"

#include <QDataStream>
#include <QIODevice>
#include <QShortcut>
#include <QWebEngineFindTextResult>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>

namespace {
using namespace std::chrono_literals;
using Lifecycle = QWebEnginePage::LifecycleState;

constexpr int kLoadLineHeight = 2;
// The skin's cyan.
constexpr QRgb kLoadLineColour = 0x00FAFA;

// The local page shown in place of one whose renderer ended; the lost address follows its "#".
QUrl lostPageFile()
{
    return QUrl::fromLocalFile(applicationDir() + QStringLiteral("/Web/parou.htm"));
}

// Told once the caller's event is over, as a page's own notices are.
void noticeLater(QObject* context, const QString& notice)
{
    QTimer::singleShot(0, context, [notice] { ErrorReporter::guard([&] { showNotice(notice); }); });
}

QByteArray historyOf(QWebEnginePage* page)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << *page->history();
    return bytes;
}

// A stored list holds only what a page may show: none of the engine's own addresses.
bool readHistory(QWebEnginePage* page, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return false;
    QDataStream in(bytes);
    in >> *page->history();
    QWebEngineHistory* history = page->history();
    if (in.status() != QDataStream::Ok || history->count() == 0)
        return false;
    const QList<QWebEngineHistoryItem> items = history->items();
    const bool internal = std::any_of(items.begin(), items.end(), [](const auto& item) {
        return TypedText::isInternalAddress(item.url());
    });
    if (internal)
        history->clear();
    return !internal;
}
} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget* parent)
    : BrowserControl(parent)
{
    m_restTimer.setSingleShot(true);
    connect(&m_restTimer, &QTimer::timeout, this, &WebEngineBrowser::restBackgroundPages);
}

WebEngineBrowser::~WebEngineBrowser()
{
    delete m_fullScreen;
    // The view goes before the pages it may still show.
    delete m_view;
    for (auto& [id, e] : m_pages)
        delete e.page;
}

void WebEngineBrowser::ensureFirstPage()
{
    if (m_list.count() > 0)
        return;
    m_view = m_view ? m_view : new WebView(this);
    m_view->setGeometry(rect());
    m_view->show();
    if (!m_loadLine)
        createLoadFeedback();
    const PageList::Id id = *addPage(0);
    createPage(id);
    bringForward(id);
}

std::optional<PageList::Id> WebEngineBrowser::addPage(PageList::Id opener)
{
    const std::optional<PageList::Id> id = m_list.open(opener);
    if (id)
        m_pages[*id] = Page{};
    return id;
}

WebPage* WebEngineBrowser::createPage(PageList::Id id)
{
    Page& e = m_pages[id];
    auto* page = new WebPage(WebProfile::persistent(), this);
    e.page = page;
    page->setSilent(m_silent);
    page->setWindowOpener(
        [this, page](QWebEnginePage::WebWindowType type) { return newWindow(page, type); });
    connect(page, &QWebEnginePage::loadFinished, this, [this, page](bool ok) {
        Page* e = entry(idOf(page));
        e->loadOk = ok;
        e->progress = 100;
        pageChanged(page, false);
        if (!isShown(page)) {
            e->loadUnreported = true;
            return;
        }
        endLoad();
        WindowTrace::note(this, "DocumentComplete");
        Q_EMIT DocumentComplete(LocationURL());
    });
    connect(page, &QWebEnginePage::titleChanged, this, [this, page](const QString& title) {
        pageChanged(page, true);
        if (isShown(page))
            Q_EMIT TitleChange(title);
    });
    connect(page, &QWebEnginePage::urlChanged, this, [this, page] { pageChanged(page, true); });
    connect(page, &QWebEnginePage::fullScreenRequested, this,
            &WebEngineBrowser::fullScreenRequested);
    connect(page, &QWebEnginePage::findTextFinished, this,
            [this, page](const QWebEngineFindTextResult& r) {
                if (isShown(page))
                    Q_EMIT findFinished(r.activeMatch(), r.numberOfMatches());
            });
    connect(page, &QWebEnginePage::pdfPrintingFinished, this, &BrowserControl::pdfPrinted);
    // FIXME: a renderer that hangs (an endless script) is not told by this engine version, so its
    // page stays as it froze; the program's buttons and keys go on working.
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this, page](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                rendererEnded(page, status);
            });
    // A page a script opened may close itself; the last page stays.
    connect(page, &QWebEnginePage::windowCloseRequested, this, [this, page] {
        if (m_list.count() > 1)
            closePage(m_list.indexOf(idOf(page)), {});
    });
    connect(page, &QWebEnginePage::loadStarted, this, [this, page] {
        if (isShown(page))
            showProgress(0);
    });
    connect(page, &QWebEnginePage::loadProgress, this, [this, page](int percent) {
        entry(idOf(page))->progress = percent;
        if (isShown(page))
            showProgress(percent);
    });
    return page;
}

void WebEngineBrowser::loadState(WebPage* page, const PageState& state)
{
    if (readHistory(page, state.history))
        return;
    const QUrl url(state.address);
    if (url.isValid() && !url.isEmpty() && !TypedText::isInternalAddress(url))
        page->load(url);
}

// A window the page asks for is a page of its own: behind the one shown for a middle click,
// in front otherwise. The engine has refused a script's window without a click already.
QWebEnginePage* WebEngineBrowser::newWindow(WebPage* opener, QWebEnginePage::WebWindowType type)
{
    if (m_list.isFull()) {
        refuseMorePages();
        return nullptr;
    }
    const PageList::Id id = *addPage(idOf(opener));
    WebPage* page = createPage(id);
    place(id,
          type == QWebEnginePage::WebBrowserBackgroundTab ? Placement::Behind : Placement::Front);
    return page;
}

void WebEngineBrowser::place(PageList::Id id, Placement placement)
{
    if (placement == Placement::Front)
        bringForward(id);
    else
        m_pages[id].hidden.start();
    Q_EMIT pagesChanged();
    Q_EMIT sessionChanged();
}

void WebEngineBrowser::refuseMorePages()
{
    noticeLater(this, QStringLiteral("Já há %1 páginas abertas. Feche uma para abrir outra.")
                          .arg(PageList::kMaxPages));
}

void WebEngineBrowser::bringForward(PageList::Id id)
{
    Page* e = entry(id);
    if (!e)
        return;
    const bool restored = !e->page;
    WebPage* page = restored ? createPage(id) : e->page;
    if (restored)
        loadState(page, e->state);
    m_list.show(id);
    if (m_view->page() != page) {
        // The full-screen window gives back the page it borrowed first.
        delete m_fullScreen;
        if (auto* old = qobject_cast<WebPage*>(m_view->page()); old && entry(idOf(old)))
            entry(idOf(old))->hidden.start();
        if (page->lifecycleState() != Lifecycle::Active)
            page->setLifecycleState(Lifecycle::Active);
        m_view->setPage(page);
        page->showCapturing();
        PermissionPrompt::instance().pageShown();
    }
    e->aged = {};
    if (page->isLoading())
        showProgress(e->progress);
    else
        endLoad();
    if (std::exchange(e->loadUnreported, false))
        Q_EMIT DocumentComplete(LocationURL());
    restBackgroundPages();
    Q_EMIT pagesChanged();
    Q_EMIT sessionChanged();
}

WebPage* WebEngineBrowser::shownPage() const
{
    const Page* e = entry(m_list.shown());
    return e ? e->page : nullptr;
}

WebEngineBrowser::Page* WebEngineBrowser::entry(PageList::Id id)
{
    const auto it = m_pages.find(id);
    return it == m_pages.end() ? nullptr : &it->second;
}

const WebEngineBrowser::Page* WebEngineBrowser::entry(PageList::Id id) const
{
    const auto it = m_pages.find(id);
    return it == m_pages.end() ? nullptr : &it->second;
}

PageList::Id WebEngineBrowser::idOf(const QWebEnginePage* page) const
{
    for (const auto& [id, e] : m_pages)
        if (e.page == page)
            return id;
    return 0;
}

bool WebEngineBrowser::isShown(const QWebEnginePage* page) const
{
    return page && page == shownPage();
}

void WebEngineBrowser::pageChanged(const QWebEnginePage* page, bool listed)
{
    if (Page* e = entry(idOf(page)))
        e->stateDirty = true;
    if (listed)
        Q_EMIT pagesChanged();
    Q_EMIT sessionChanged();
}

PageState WebEngineBrowser::stateOf(PageList::Id id) const
{
    Page& e = m_pages.at(id);
    if (!e.page || !e.stateDirty)
        return e.state;
    // A page that stands in for a lost one is kept as the lost address, without a history
    // whose last step is the local page.
    const bool lost = showsLostPage(e.page);
    e.state.address = lost ? e.lostAddress.toString() : e.page->url().toString();
    e.state.title = e.page->title();
    e.state.history = lost ? QByteArray() : historyOf(e.page);
    e.stateDirty = false;
    return e.state;
}

bool WebEngineBrowser::openPage(const QString& address, Placement placement)
{
    ensureFirstPage();
    if (m_list.isFull()) {
        refuseMorePages();
        return false;
    }
    const QUrl url = addressToUrl(address);
    if (TypedText::isInternalAddress(url) ||
        TypedText::isInternalAddress(QUrl(address.trimmed()))) {
        refuse(address);
        return false;
    }
    const PageList::Id id = *addPage(m_list.shown());
    createPage(id)->load(url);
    place(id, placement);
    return true;
}

void WebEngineBrowser::closePage(int index, const QString& home)
{
    const PageList::Id id = index < 0 ? m_list.shown() : m_list.at(index);
    if (!entry(id))
        return;
    const PageList::Id next = m_list.close(id, stateOf(id));
    Page gone = std::move(m_pages.at(id));
    m_pages.erase(id);
    if (next) {
        bringForward(next);
    } else {
        ensureFirstPage();
        if (!home.isEmpty())
            Navigate(home);
    }
    if (gone.page) {
        disconnect(gone.page, nullptr, this, nullptr);
        gone.page->deleteLater();
    }
    restBackgroundPages();
    Q_EMIT pagesChanged();
    Q_EMIT sessionChanged();
}

void WebEngineBrowser::showPage(int index)
{
    if (m_list.count() == 0)
        return;
    bringForward(m_list.at(index < 0 ? m_list.count() - 1 : index));
}

void WebEngineBrowser::showNeighbour(int step)
{
    if (m_list.count() > 1)
        bringForward(m_list.neighbour(step));
}

bool WebEngineBrowser::reopenClosedPage()
{
    ensureFirstPage();
    if (m_list.closed().empty())
        return false;
    if (m_list.isFull()) {
        refuseMorePages();
        return true;
    }
    const PageState state = *m_list.takeClosed();
    const PageList::Id id = *addPage(m_list.shown());
    m_pages[id].state = state;
    m_pages[id].stateDirty = false;
    bringForward(id);
    return true;
}

int WebEngineBrowser::pageCount() const { return std::max(m_list.count(), 1); }

int WebEngineBrowser::shownIndex() const { return std::max(m_list.indexOf(m_list.shown()), 0); }

QList<PageState> WebEngineBrowser::pageSummaries() const
{
    QList<PageState> pages;
    for (PageList::Id id : m_list.ids()) {
        const Page& e = m_pages.at(id);
        if (e.page)
            pages.append(
                {showsLostPage(e.page) ? e.lostAddress.toString() : e.page->url().toString(),
                 e.page->title(),
                 {}});
        else
            pages.append({e.state.address, e.state.title, {}});
    }
    return pages;
}

Session WebEngineBrowser::session() const
{
    Session s;
    for (PageList::Id id : m_list.ids())
        s.open.push_back(stateOf(id));
    s.shown = m_list.count() ? m_list.indexOf(m_list.shown()) : 0;
    s.closed = m_list.closed();
    return s;
}

void WebEngineBrowser::restore(const Session& session)
{
    if (session.open.empty())
        return;
    ensureFirstPage();
    std::vector<WebPage*> gone;
    for (PageList::Id id : std::vector(m_list.ids())) {
        gone.push_back(m_pages.at(id).page);
        m_pages.erase(id);
        m_list.close(id, {});
    }
    for (const PageState& state : session.open) {
        const std::optional<PageList::Id> id = addPage(0);
        if (!id)
            break;
        Page& e = m_pages[*id];
        e.state = state;
        e.stateDirty = false;
        e.hidden.start();
    }
    m_list.setClosed(session.closed);
    bringForward(m_list.at(std::clamp(session.shown, 0, m_list.count() - 1)));
    for (WebPage* page : gone) {
        disconnect(page, nullptr, this, nullptr);
        page->deleteLater();
    }
}

void WebEngineBrowser::forgetClosedPages()
{
    m_list.setClosed({});
    Q_EMIT sessionChanged();
}

// A page at rest costs nothing: frozen, it runs no script; discarded, it holds no renderer. A
// page that plays sound or holds the camera or the microphone is never put to rest.
void WebEngineBrowser::restBackgroundPages()
{
    using std::chrono::milliseconds;
    milliseconds next = milliseconds::max();
    for (auto& [id, e] : m_pages) {
        if (!e.page || id == m_list.shown() || !e.hidden.isValid())
            continue;
        const milliseconds hiddenFor = milliseconds(e.hidden.elapsed()) + e.aged;
        const Lifecycle state = e.page->lifecycleState();
        const bool busy = e.page->recentlyAudible() || e.page->isCapturing();
        if (busy) {
            next = std::min<milliseconds>(next, kFreezeAfter);
        } else if (hiddenFor >= kDiscardAfter) {
            if (state != Lifecycle::Discarded)
                e.page->setLifecycleState(Lifecycle::Discarded);
        } else if (hiddenFor >= kFreezeAfter) {
            if (state == Lifecycle::Active)
                e.page->setLifecycleState(Lifecycle::Frozen);
            next = std::min<milliseconds>(next, kDiscardAfter - hiddenFor);
        } else {
            next = std::min<milliseconds>(next, kFreezeAfter - hiddenFor);
        }
    }
    if (next == milliseconds::max())
        m_restTimer.stop();
    else
        m_restTimer.start(std::max(next, milliseconds(1000)));
}

void WebEngineBrowser::ageBackgroundPages(std::chrono::milliseconds hiddenFor)
{
    for (auto& [id, e] : m_pages)
        if (id != m_list.shown())
            e.aged += hiddenFor;
    restBackgroundPages();
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
    connect(m_stopKey, &QShortcut::activated, this, [this] {
        if (WebPage* page = shownPage())
            page->triggerAction(QWebEnginePage::Stop);
    });
}

void WebEngineBrowser::showProgress(int percent)
{
    WebPage* page = shownPage();
    if ((!page || !page->isLoading()) && percent >= 100)
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
    // Only the page shown goes full screen.
    if (request.toggleOn() && !isShown(qobject_cast<QWebEnginePage*>(sender()))) {
        request.reject();
        return;
    }
    request.accept();
    if (!request.toggleOn())
        delete m_fullScreen;
    else if (!m_fullScreen)
        m_fullScreen = new FullScreenWindow(m_view);
}

void WebEngineBrowser::rendererEnded(WebPage* page, int status)
{
    Page* e = entry(idOf(page));
    if (!e || status == QWebEnginePage::NormalTerminationStatus || showsLostPage(page))
        return;
    e->lostAddress = page->url();
    QUrl local = lostPageFile();
    local.setFragment(e->lostAddress.toString(QUrl::FullyEncoded), QUrl::TolerantMode);
    // Once the engine's call has returned; the local page comes in a new renderer.
    QTimer::singleShot(0, page, [page, local] { page->load(local); });
}

bool WebEngineBrowser::showsLostPage(const QWebEnginePage* page) const
{
    return page && page->url().adjusted(QUrl::RemoveFragment) == lostPageFile();
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
    ensureFirstPage();
    shownPage()->load(url);
}

void WebEngineBrowser::refuse(const QString& address)
{
    noticeLater(this, TypedText::internalNotice(address));
}

bool WebEngineBrowser::canGoBack() const
{
    return shownPage() && shownPage()->history()->canGoBack();
}

bool WebEngineBrowser::canGoForward() const
{
    return shownPage() && shownPage()->history()->canGoForward();
}

void WebEngineBrowser::GoBack()
{
    if (canGoBack())
        shownPage()->triggerAction(QWebEnginePage::Back);
}

void WebEngineBrowser::GoForward()
{
    if (canGoForward())
        shownPage()->triggerAction(QWebEnginePage::Forward);
}

void WebEngineBrowser::setSilent(bool silent)
{
    m_silent = silent;
    for (auto& [id, e] : m_pages)
        if (e.page)
            e.page->setSilent(silent);
}

QString WebEngineBrowser::LocationURL() const
{
    return shownPage() ? shownPage()->url().toString() : QString();
}

QString WebEngineBrowser::LocationName() const
{
    return shownPage() ? shownPage()->title() : QString();
}

bool WebEngineBrowser::loadSucceeded() const
{
    const Page* e = entry(m_list.shown());
    return e && e->loadOk;
}

void WebEngineBrowser::Refresh()
{
    WebPage* page = shownPage();
    if (!page)
        return;
    if (showsLostPage(page))
        page->load(entry(m_list.shown())->lostAddress);
    else
        page->triggerAction(QWebEnginePage::Reload);
}

qreal WebEngineBrowser::zoomFactor() const { return shownPage() ? shownPage()->zoomFactor() : 1.0; }

void WebEngineBrowser::setZoomFactor(qreal factor)
{
    ensureFirstPage();
    shownPage()->setZoomFactor(factor);
}

QString WebEngineBrowser::title() const { return shownPage() ? shownPage()->title() : QString(); }

void WebEngineBrowser::findText(const QString& text, Find direction)
{
    if (!shownPage()) {
        Q_EMIT findFinished(0, 0);
        return;
    }
    shownPage()->findText(text, direction == Find::Previous ? QWebEnginePage::FindBackward
                                                            : QWebEnginePage::FindFlags());
}

void WebEngineBrowser::printToPdf(const QString& filePath)
{
    if (!shownPage()) {
        Q_EMIT pdfPrinted(filePath, false);
        return;
    }
    shownPage()->printToPdf(filePath);
}

QWebEngineView* WebEngineBrowser::view() const { return m_view; }

QWebEnginePage* WebEngineBrowser::pageAt(int index) const
{
    const Page* e = entry(m_list.at(index));
    return e ? e->page : nullptr;
}

#pragma once

#include "core/PageList.h"
#include "forms/BrowserControl.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <chrono>
#include <map>
#include <optional>

class FullScreenWindow;
class QShortcut;
class QWebEngineFullScreenRequest;
class QWebEngineView;
class WebPage;
class WebView;

// The browser control over QtWebEngine: several pages, one view, which shows one page at a
// time. The engine is started on the first navigation, so a control that is never navigated
// costs nothing. Navigate refuses the engine's and the program's own addresses
// (TypedText::isInternalAddress) with a notice, the page staying as it was. A page whose
// renderer ends (a crash, a kill) gives way to a local page saying so, and Refresh (F5) there
// loads the lost address again; the other pages live on.
//
// A page the user opens from a link (a middle click, target=_blank, a window.open after a
// click) is a new page; a window a script asks for without a click is refused by the engine. A
// page not shown for kFreezeAfter is frozen (unless it plays sound or holds the camera or the
// microphone), and discarded after kDiscardAfter: it loads again when shown. Restored pages
// load when first shown.
class WebEngineBrowser : public BrowserControl {
    Q_OBJECT
public:
    static constexpr std::chrono::minutes kFreezeAfter{5};
    static constexpr std::chrono::minutes kDiscardAfter{60};

    explicit WebEngineBrowser(QWidget* parent);
    ~WebEngineBrowser() override;

    void Navigate(const QString& address) override;
    bool canGoBack() const override;
    bool canGoForward() const override;
    void GoBack() override;
    void GoForward() override;
    void setSilent(bool silent) override;
    bool Silent() const override { return m_silent; }
    QString LocationURL() const override;
    QString LocationName() const override;
    bool loadSucceeded() const override;
    void Refresh() override;
    qreal zoomFactor() const override;
    void setZoomFactor(qreal factor) override;
    QString title() const override;
    void findText(const QString& text, Find direction) override;
    void printToPdf(const QString& filePath) override;

    bool openPage(const QString& address, Placement placement) override;
    void closePage(int index, const QString& home) override;
    void showPage(int index) override;
    void showNeighbour(int step) override;
    bool reopenClosedPage() override;
    int pageCount() const override;
    int shownIndex() const override;
    QList<PageState> pageSummaries() const override;
    Session session() const override;
    void restore(const Session& session) override;
    void forgetClosedPages() override;

    QWebEngineView* view() const;
    // The engine's page at `index`; null while a restored page waits to be shown.
    QWebEnginePage* pageAt(int index) const;
    // Runs the background pages' clock at once, as if `hiddenFor` had gone by for each.
    void ageBackgroundPages(std::chrono::milliseconds hiddenFor);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Page {
        WebPage* page = nullptr; // null until a restored page is first shown
        PageState state;         // as last stored; the restored state until then
        bool stateDirty = true;
        bool loadOk = false;
        bool loadUnreported = false; // finished while hidden: reported when first shown
        QUrl lostAddress; // the page whose renderer ended, while the local page stands in
        int progress = 0;
        // Since the page went to the background, and how much older a test made it.
        QElapsedTimer hidden;
        std::chrono::milliseconds aged{0};
    };

    void ensureFirstPage();
    WebPage* shownPage() const;
    Page* entry(PageList::Id id);
    const Page* entry(PageList::Id id) const;
    PageList::Id idOf(const QWebEnginePage* page) const;
    bool isShown(const QWebEnginePage* page) const;
    WebPage* createPage(PageList::Id id);
    void loadState(WebPage* page, const PageState& state);
    QWebEnginePage* newWindow(WebPage* opener, QWebEnginePage::WebWindowType type);
    std::optional<PageList::Id> addPage(PageList::Id opener);
    void bringForward(PageList::Id id);
    // A new page in front or behind; the listeners are told.
    void place(PageList::Id id, Placement placement);
    PageState stateOf(PageList::Id id) const;
    void pageChanged(const QWebEnginePage* page, bool listed);
    void refuseMorePages();
    void createLoadFeedback();
    void showProgress(int percent);
    void endLoad();
    void fullScreenRequested(QWebEngineFullScreenRequest request);
    void refuse(const QString& address);
    void rendererEnded(WebPage* page, int status);
    bool showsLostPage(const QWebEnginePage* page) const;
    void restBackgroundPages();

    WebView* m_view = nullptr;
    PageList m_list;
    // The pages' states are brought up to date when asked for.
    mutable std::map<PageList::Id, Page> m_pages;
    // While a top-level page loads: a line along the top edge as long as the load's progress.
    QWidget* m_loadLine = nullptr;
    // Escape stops a load; it reaches the page at any other time.
    QShortcut* m_stopKey = nullptr;
    QPointer<FullScreenWindow> m_fullScreen;
    // Runs while a page is in the background, at each page's next freeze or discard.
    QTimer m_restTimer;
    bool m_silent = false;
};

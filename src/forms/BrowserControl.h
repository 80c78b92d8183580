#pragma once

#include "core/PageState.h"

#include <QList>
#include <QWidget>

#include <functional>

struct Session;

// The embedded browser, with exactly the members the program uses.
class BrowserControl : public QWidget {
    Q_OBJECT
public:
    using Factory = std::function<BrowserControl*(QWidget* parent)>;

    using QWidget::QWidget;

    // Starts loading and returns at once; a later call supersedes one still loading.
    virtual void Navigate(const QString& address) = 0;
    // Whether the history holds a page in that direction.
    virtual bool canGoBack() const = 0;
    virtual bool canGoForward() const = 0;
    // One page back or forward in the history; nothing when there is none (no page to go to is
    // no error).
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    // Silent: the control shows no dialog boxes of its own.
    virtual void setSilent(bool silent) = 0;
    virtual bool Silent() const = 0;
    // The address of the top-level document now shown.
    virtual QString LocationURL() const = 0;
    // Its title, as far as it is known.
    virtual QString LocationName() const { return {}; }
    // Whether the last finished top-level load reached its page (an error page does not).
    virtual bool loadSucceeded() const { return true; }
    // Loads the page now shown again.
    virtual void Refresh() = 0;
    // The page's magnification, 1.0 for 100 %.
    virtual qreal zoomFactor() const = 0;
    virtual void setZoomFactor(qreal factor) = 0;

    // The title of the page now shown; empty when it has none.
    virtual QString title() const = 0;

    enum class Find { Next, Previous };
    // Highlights the matches of `text` and moves to the next or previous one; findFinished
    // follows. An empty text clears the highlight.
    virtual void findText(const QString& text, Find direction) = 0;
    // Writes the page as a PDF to `filePath`; pdfPrinted follows.
    virtual void printToPdf(const QString& filePath) = 0;

    // Several pages share the control; every member above acts on the page shown. A control that
    // keeps one page (the defaults) takes a new page as a navigation of that one.
    enum class Placement { Front, Behind };
    // Opens `address` in a new page, in front of the one shown or behind it. With the most
    // pages open, a notice says so and nothing opens: returns false.
    virtual bool openPage(const QString& address, Placement placement)
    {
        (void)placement;
        Navigate(address);
        return true;
    }
    // Closes the page at `index` (the page shown when -1); the last page gives way to a new one
    // on `home`.
    virtual void closePage(int index, const QString& home)
    {
        (void)index;
        (void)home;
    }
    // Shows the page at `index`; -1 shows the last.
    virtual void showPage(int index) { (void)index; }
    // Shows the page `step` places after the one shown (before it when negative), round the end.
    virtual void showNeighbour(int step) { (void)step; }
    // Opens the page closed last again, with its back and forward list; false when none is kept.
    virtual bool reopenClosedPage() { return false; }
    virtual int pageCount() const { return 1; }
    virtual int shownIndex() const { return 0; }
    // The title and address of every page, in the order they were opened (no history).
    virtual QList<PageState> pageSummaries() const { return {{LocationURL(), title(), {}}}; }
    // The pages with their back and forward lists, and the ones closed, as a session to store.
    virtual Session session() const;
    // Replaces every page with the session's, the shown one loaded now, the others when first
    // shown.
    virtual void restore(const Session& session) { (void)session; }
    // The pages closed are no longer kept.
    virtual void forgetClosedPages() {}

    enum class Zoom { In, Out, Reset };
    // Steps through the usual magnifications, from 25 % to 500 %.
    void zoom(Zoom step);

    static BrowserControl* create(QWidget* parent);
    static void setFactory(Factory factory);

Q_SIGNALS:
    // A top-level load finished.
    void DocumentComplete(const QString& address);
    // The outcome of a findText: the active match (from 1) of `matches`, 0 of 0 for none.
    void findFinished(int active, int matches);
    void pdfPrinted(const QString& filePath, bool success);
    // The top-level document's title changed.
    void TitleChange(const QString& title);
    // A page opened, closed or was shown, or one changed its title or address.
    void pagesChanged();
    // Something of the session changed: pagesChanged, or a page's back and forward list.
    void sessionChanged();
};

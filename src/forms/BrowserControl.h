#pragma once

#include <QWidget>

#include <functional>

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
};

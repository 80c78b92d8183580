#pragma once

#include "forms/BrowserControl.h"

#include <QPointer>
#include <QUrl>

class FullScreenWindow;
class QShortcut;
class QWebEngineFullScreenRequest;
class QWebEngineView;
class WebPage;
class WebView;

// The browser control over QtWebEngine. The engine is started on the first navigation, so a
// control that is never navigated costs nothing. Navigate refuses the engine's and the program's
// own addresses (TypedText::isInternalAddress) with a notice, the page staying as it was. A page
// whose renderer ends (a crash, a kill) gives way to a local page saying so, and Refresh (F5)
// there loads the lost address again.
class WebEngineBrowser : public BrowserControl {
    Q_OBJECT
public:
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
    bool loadSucceeded() const override { return m_loadOk; }
    void Refresh() override;
    qreal zoomFactor() const override;
    void setZoomFactor(qreal factor) override;
    QString title() const override;
    void findText(const QString& text, Find direction) override;
    void printToPdf(const QString& filePath) override;

    QWebEngineView* view() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    WebPage* ensurePage();
    void createLoadFeedback();
    void showProgress(int percent);
    void endLoad();
    void fullScreenRequested(QWebEngineFullScreenRequest request);
    void refuse(const QString& address);
    void rendererEnded(int status);
    bool showsLostPage() const;

    WebView* m_view = nullptr;
    WebPage* m_page = nullptr;
    // While a top-level page loads: a line along the top edge as long as the load's progress.
    QWidget* m_loadLine = nullptr;
    // Escape stops a load; it reaches the page at any other time.
    QShortcut* m_stopKey = nullptr;
    QPointer<FullScreenWindow> m_fullScreen;
    bool m_silent = false;
    bool m_loadOk = false;
    // The address of the page whose renderer ended, while the local page stands in for it.
    QUrl m_lostAddress;
};

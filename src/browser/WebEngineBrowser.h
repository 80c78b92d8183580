#pragma once

#include "forms/BrowserControl.h"

class QWebEngineView;
class WebPage;

// The browser control over QtWebEngine. The engine is started on the first navigation, so a
// control that is never navigated costs nothing.
class WebEngineBrowser : public BrowserControl {
    Q_OBJECT
public:
    explicit WebEngineBrowser(QWidget* parent);

    void Navigate(const QString& address) override;
    void GoBack() override;
    void GoForward() override;
    void setSilent(bool silent) override;
    bool Silent() const override { return m_silent; }
    QString LocationURL() const override;

    QWebEngineView* view() const { return m_view; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWebEngineView* ensureView();

    QWebEngineView* m_view = nullptr;
    WebPage* m_page = nullptr;
    bool m_silent = false;
};

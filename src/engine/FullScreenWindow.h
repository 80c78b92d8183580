#pragma once

#include <QPointer>
#include <QWidget>

class QWebEngineView;
class WebView;

// The page alone on the whole screen. It borrows the page from the browser's view while it
// lives and gives it back when it is destroyed; the main window stays where it was.
class FullScreenWindow : public QWidget {
    Q_OBJECT
public:
    explicit FullScreenWindow(QWebEngineView* owner);
    ~FullScreenWindow() override;

private:
    WebView* m_view;
    QPointer<QWebEngineView> m_owner;
};

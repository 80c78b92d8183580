#include "engine/FullScreenWindow.h"

#include "engine/WebView.h"

#include <QShortcut>
#include <QVBoxLayout>

FullScreenWindow::FullScreenWindow(QWebEngineView* owner)
    : QWidget(nullptr, Qt::FramelessWindowHint)
    , m_view(new WebView(this))
    , m_owner(owner)
{
    setWindowTitle(owner->window()->windowTitle());
    setWindowIcon(owner->window()->windowIcon());
    setStyleSheet(QStringLiteral("background: #000000;"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setPage(owner->page());
    // The page's own exit is the one way out, so Escape asks the page to leave.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_view,
            [this] { m_view->triggerPageAction(QWebEnginePage::ExitFullScreen); });
    showFullScreen();
    activateWindow();
    m_view->setFocus();
}

FullScreenWindow::~FullScreenWindow()
{
    if (m_owner) {
        m_owner->setPage(m_view->page());
        m_owner->window()->activateWindow();
    }
}

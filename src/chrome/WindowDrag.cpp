#include "chrome/WindowDrag.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

// Follows the pointer from the press until every button is up.
class ManualMove : public QObject {
public:
    explicit ManualMove(QWidget* window)
        : QObject(window)
        , m_window(window)
        , m_offset(QCursor::pos() - window->pos())
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseMove && m_window) {
            m_window->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_offset);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton)
                deleteLater();
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
    QPoint m_offset;
};

} // namespace

void WindowDrag::start(QWidget* window)
{
    QWindow* handle = window->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    new ManualMove(window);
}

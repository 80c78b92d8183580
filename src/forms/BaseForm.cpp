#include "forms/BaseForm.h"

#include "core/ErrorReporter.h"
#include "core/QvError.h"
#include "core/Twips.h"
#include "forms/Accessible.h"
#include "forms/FormBuilder.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/WindowTrace.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHideEvent>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QWindow>

#include <limits>

BaseForm::BaseForm(const layout::Form& form)
{
    Accessible::install();
    FormBuilder::build(this, form);
    for (const layout::Timer& t : form.timers)
        new FormTimer(QString::fromLatin1(t.name), t.enabled, t.interval, this);
}

int BaseForm::Left() const { return pixelsToTwips(x()); }
int BaseForm::Top() const { return pixelsToTwips(y()); }
void BaseForm::setLeft(double twips) { move(twipsToCoordinate(twips), y()); }
void BaseForm::setTop(double twips) { move(x(), twipsToCoordinate(twips)); }
int BaseForm::Width() const { return pixelsToTwips(width()); }
int BaseForm::Height() const { return pixelsToTwips(height()); }
void BaseForm::setWidth(int twips) { setFixedWidth(twipsToPixels(twips)); }
void BaseForm::setHeight(int twips) { setFixedHeight(twipsToPixels(twips)); }

void BaseForm::Show()
{
    if (isMinimized())
        showNormal();
    if (!isVisible() && windowHandle()) {
        // A window once minimized by the window manager would otherwise map iconic again.
        windowHandle()->setWindowStates(Qt::WindowMinimized);
        windowHandle()->setWindowStates(Qt::WindowNoState);
    }
    keepOnScreen();
    orderFocusByPlace();
    show();
    raise();
    activateWindow();
}

namespace {
// Squared distance from a point to the nearest point of a rectangle.
qint64 distance2(QPoint p, const QRect& r)
{
    const qint64 dx = p.x() < r.left() ? r.left() - p.x() : std::max(0, p.x() - r.right());
    const qint64 dy = p.y() < r.top() ? r.top() - p.y() : std::max(0, p.y() - r.bottom());
    return dx * dx + dy * dy;
}

int clampInto(int pos, int size, int low, int length)
{
    return std::max(low, std::min(pos, low + length - size));
}
} // namespace

void BaseForm::keepOnScreen()
{
    const QRect r = geometry();
    QScreen* nearest = nullptr;
    qint64 best = std::numeric_limits<qint64>::max();
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect seen = s->geometry() & r;
        if (seen.width() >= kLeastSeen.width() && seen.height() >= kLeastSeen.height())
            return;
        if (const qint64 d = distance2(r.center(), s->geometry()); d < best) {
            best = d;
            nearest = s;
        }
    }
    if (!nearest)
        return;
    const QRect area = nearest->availableGeometry();
    move(clampInto(r.x(), r.width(), area.x(), area.width()),
         clampInto(r.y(), r.height(), area.y(), area.height()));
}

void BaseForm::showModal()
{
    QPointer<BaseForm> self(this);
    setWindowModality(Qt::ApplicationModal);
    Show();
    if (!self || m_unloading)
        return;
    QEventLoop loop;
    connect(this, &BaseForm::unloaded, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
}

void BaseForm::minimize() { setWindowState(windowState() | Qt::WindowMinimized); }

FormTimer* BaseForm::timer(const char* name) const
{
    auto* t = findChild<FormTimer*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    if (!t)
        missingFromLayout("o temporizador", name);
    return t;
}

void BaseForm::missingFromLayout(const char* what, const char* name) const
{
    throw QvError(QStringLiteral("Janela %1: %2 \"%3\" não existe no leiaute")
                      .arg(objectName(), QString::fromLatin1(what), QString::fromLatin1(name)));
}

int BaseForm::controlLeft(const QWidget* c) { return pixelsToTwips(c->x()); }
int BaseForm::controlTop(const QWidget* c) { return pixelsToTwips(c->y()); }
void BaseForm::setControlLeft(QWidget* c, double twips) { c->move(twipsToPixels(twips), c->y()); }
void BaseForm::setControlTop(QWidget* c, double twips) { c->move(c->x(), twipsToPixels(twips)); }
void BaseForm::setControlWidth(QWidget* c, double twips)
{
    c->resize(twipsToPixels(twips), c->height());
}
void BaseForm::setControlHeight(QWidget* c, double twips)
{
    c->resize(c->width(), twipsToPixels(twips));
}

void BaseForm::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const Qt::MouseButton button = event->button();
    ErrorReporter::guard([&] { Form_MouseDown(button); });
}

QShortcut* BaseForm::windowKey(int key) { return new QShortcut(QKeySequence(key), this); }

void BaseForm::orderFocusByPlace()
{
    QList<QWidget*> list;
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->focusPolicy() & Qt::TabFocus)
            list.append(w);
    }
    // Controls less than a row's height apart in height stand in one row.
    constexpr int kRow = 8;
    std::stable_sort(list.begin(), list.end(), [](const QWidget* a, const QWidget* b) {
        return std::pair(a->y() / kRow, a->x()) < std::pair(b->y() / kRow, b->x());
    });
    for (qsizetype i = 1; i < list.size(); ++i)
        setTabOrder(list[i - 1], list[i]);
}

void BaseForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        WindowTrace::note(this, "shown");
    QWidget::showEvent(event);
}

void BaseForm::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        WindowTrace::note(this, "hidden");
    QWidget::hideEvent(event);
}

void BaseForm::closeFromOutside() { Forms::unload(this); }

void BaseForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (!m_unloading)
        ErrorReporter::guard([&] { closeFromOutside(); });
}

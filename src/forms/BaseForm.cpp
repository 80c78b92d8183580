#include "forms/BaseForm.h"

#include "core/ErrorReporter.h"
#include "core/QvError.h"
#include "core/Twips.h"
#include "forms/FormBuilder.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWindow>

BaseForm::BaseForm(const layout::Form& form)
{
    FormBuilder::build(this, form);
    for (const layout::Timer& t : form.timers)
        new FormTimer(QString::fromLatin1(t.name), t.enabled, t.interval, this);
}

int BaseForm::Left() const { return pixelsToTwips(x()); }
int BaseForm::Top() const { return pixelsToTwips(y()); }
void BaseForm::setLeft(double twips) { move(twipsToPixels(twips), y()); }
void BaseForm::setTop(double twips) { move(x(), twipsToPixels(twips)); }
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
    show();
    raise();
    activateWindow();
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

void BaseForm::closeEvent(QCloseEvent* event)
{
    // A close request from outside (task bar, window manager) unloads the window.
    event->ignore();
    if (!m_unloading)
        ErrorReporter::guard([&] { Forms::unload(this); });
}

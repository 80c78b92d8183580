#include "chrome/SkinnedForm.h"

#include "chrome/WindowDrag.h"
#include "core/ErrorReporter.h"
#include "core/Platform.h"
#include "core/Twips.h"
#include "forms/Controls.h"
#include "forms/FormTimer.h"

#include <QEvent>
#include <QLabel>
#include <QTimer>

namespace {
constexpr int kFormWidth = 4560;
constexpr int kFormHeight = 7350;
constexpr int kHoverInterval = 100;
const QString kTrayTip = QStringLiteral("Maravel Quorvane");
} // namespace

SkinnedForm::SkinnedForm(const layout::Form& form, Options options)
    : BaseForm(form)
    , imgMinimizar(control<ImageControl>("imgMinimizar"))
    , imgMinimizarOn(control<ImageControl>("imgMinimizarOn"))
    , imgTray(control<ImageControl>("imgTray"))
    , imgTrayOn(control<ImageControl>("imgTrayOn"))
    , imgFechar(control<ImageControl>("imgFechar"))
    , imgFecharOn(control<ImageControl>("imgFecharOn"))
    , abaTopo(control<ImageControl>("abaTopo"))
    , shpForm(control<QWidget>("shpForm"))
    , lblPosTop(control<QLabel>("lblPosTop"))
    , lblPosLeft(control<QLabel>("lblPosLeft"))
    , TimerMouseOver(timer("TimerMouseOver"))
    , m_options(options)
{
    createTitleBar();
    joinLogo();
    connectHandler(TimerMouseOver, &FormTimer::Timer, this, &SkinnedForm::TimerMouseOver_Timer);
}

void SkinnedForm::createTitleBar()
{
    connectHandler(imgMinimizar, &ImageControl::Click, this, &SkinnedForm::imgMinimizar_Click);
    connectHandler(imgMinimizarOn, &ImageControl::Click, this, &SkinnedForm::imgMinimizar_Click);
    // The plain tray image acts too: the hover swap makes a click land on either.
    connectHandler(imgTray, &ImageControl::Click, this, &SkinnedForm::minimize_to_tray);
    connectHandler(imgTrayOn, &ImageControl::Click, this, &SkinnedForm::minimize_to_tray);
    connectHandler(imgFechar, &ImageControl::Click, this, &SkinnedForm::imgFechar_Click);
    connectHandler(imgFecharOn, &ImageControl::Click, this, &SkinnedForm::imgFechar_Click);
    for (QWidget* b : {imgMinimizar, imgMinimizarOn, imgTray, imgTrayOn, imgFechar, imgFecharOn})
        Controls::makeButton(b);
    if (m_options.dragOnTab)
        connect(abaTopo, &ImageControl::MouseDown, this, [this] { startDrag(); });
}

void SkinnedForm::joinLogo()
{
    // The stand-in font is narrower than the one the title was drawn with: "vane" follows
    // "Quor" where its text ends, so that the name reads as one word.
    auto* quor = control<QLabel>("lblName1");
    auto* vane = control<QLabel>("Label1");
    vane->move(quor->x() + quor->fontMetrics().horizontalAdvance(quor->text()), vane->y());
}

void SkinnedForm::startChrome()
{
    TimerMouseOver->setInterval(kHoverInterval);
    setWidth(kFormWidth);
    setHeight(kFormHeight);
    setControlWidth(shpForm, kFormWidth - 15);
    setControlHeight(shpForm, kFormHeight - 10);
}

void SkinnedForm::Form_MouseDown(Qt::MouseButton) { startDrag(); }

void SkinnedForm::startDrag() { WindowDrag::start(this); }

bool SkinnedForm::IsMouseOver(const QWidget* c) const
{
    const QPoint p = Platform::instance().cursorPos();
    const double l = Left() + controlLeft(c);
    const double t = Top() + controlTop(c);
    const int left = int(roundHalfEven(l / kTwipsPerPixel));
    const int top = int(roundHalfEven(t / kTwipsPerPixel));
    const int right = int(roundHalfEven((l + pixelsToTwips(c->width())) / kTwipsPerPixel));
    const int bottom = int(roundHalfEven((t + pixelsToTwips(c->height())) / kTwipsPerPixel));
    return left < p.x() && p.x() < right && top < p.y() && p.y() < bottom;
}

void SkinnedForm::TimerMouseOver_Timer()
{
    const std::pair<ImageControl*, ImageControl*> pairs[] = {
        {imgMinimizar, imgMinimizarOn}, {imgTray, imgTrayOn}, {imgFechar, imgFecharOn}};
    for (auto [plain, on] : pairs) {
        const bool over = IsMouseOver(plain);
        on->setVisible(over);
        plain->setVisible(!over);
    }
    if (!hoverCanChange())
        TimerMouseOver->setEnabled(false);
}

bool SkinnedForm::hoverCanChange() const
{
    if (!isVisible() || isMinimized())
        return false;
    if (geometry().contains(Platform::instance().cursorPos()))
        return true;
    return !imgMinimizarOn->isHidden() || !imgTrayOn->isHidden() || !imgFecharOn->isHidden();
}

bool SkinnedForm::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::Show:
        TimerMouseOver->setEnabled(true);
        break;
    case QEvent::Hide:
        TimerMouseOver->setEnabled(false);
        break;
    case QEvent::WindowStateChange:
        TimerMouseOver->setEnabled(!isMinimized());
        break;
    default:
        break;
    }
    return BaseForm::event(e);
}

void SkinnedForm::desceBotao(QWidget* botao)
{
    PressedLook::desceBotao(botao, {lblPosTop, lblPosLeft});
}

void SkinnedForm::sobeBotao(QWidget* botao)
{
    PressedLook::sobeBotao(botao, {lblPosTop, lblPosLeft});
}

void SkinnedForm::withPressedLook(QWidget* botao)
{
    m_pressedLook.attach(botao, {{botao, {lblPosTop, lblPosLeft}}});
}

void SkinnedForm::minimize_to_tray()
{
    if (!Platform::instance().trayAvailable()) {
        // Without a tray the window could not be reached again: minimize it instead, once the
        // current event (a load still running, a click) is over.
        QTimer::singleShot(0, this, [this] { showMinimized(); });
        return;
    }
    Hide();
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(this);
        connect(m_tray, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason r) {
                    ErrorReporter::guard([&] { trayActivated(r); });
                });
    }
    m_tray->setIcon(windowIcon());
    m_tray->setToolTip(kTrayTip);
    m_tray->show();
}

void SkinnedForm::trayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        Show();
        removeTrayIcon();
    } else if (reason == QSystemTrayIcon::Context) {
        Show();
        if (m_options.rightReleaseRemovesIcon)
            removeTrayIcon();
    }
}

bool SkinnedForm::trayIconVisible() const { return m_tray && m_tray->isVisible(); }

void SkinnedForm::removeTrayIcon()
{
    // Hiding the icon inside its own activation handler can crash: do it right after.
    QTimer::singleShot(0, this, [this] {
        if (m_tray)
            m_tray->hide();
    });
}

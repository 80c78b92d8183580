#include "dialogs/PageNotice.h"

#include "core/ErrorReporter.h"
#include "core/Platform.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/Form5_Msg.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"

#include <QLabel>

#include <utility>

namespace {
// The timed notice's table under a name of its own, so that the two are told apart when both
// are up.
const layout::Form& noticeLayout()
{
    static const layout::Form form{"PageNotice",
                                   layout::Form5_MsgLayout.width,
                                   layout::Form5_MsgLayout.height,
                                   layout::Form5_MsgLayout.caption,
                                   layout::Form5_MsgLayout.controls,
                                   layout::Form5_MsgLayout.timers};
    return form;
}
} // namespace

PageNotice::PageNotice()
    : BaseForm(noticeLayout())
    , lblMensagem(control<QLabel>("lblMensagem"))
    , lblCount(control<QLabel>("lblCount"))
    , shpForm(control<QWidget>("shpForm"))
    , TimerCount(timer("TimerCount"))
    , m_font(lblMensagem->font())
{
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                   Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    connectHandler(TimerCount, &FormTimer::Timer, this, &PageNotice::TimerCount_Timer);
}

void PageNotice::Form_Load() { placeOverAdministrationWindow(*this, *shpForm); }

void PageNotice::post(Kind kind, const QString& text)
{
    const bool up = Forms::ifLoaded<PageNotice>() != nullptr;
    PageNotice& notice = Forms::get<PageNotice>();
    if (up)
        return notice.add(kind, text);
    Platform::instance().beep();
    notice.display({kind, 1, text});
    notice.keepOnScreen();
    notice.show();
    notice.raise();
}

void PageNotice::add(Kind kind, const QString& text)
{
    if (kind == m_shown.kind) {
        ++m_shown.count;
        if (m_waiting)
            setMessage(m_shown);
        else
            display(m_shown);
    } else if (m_waiting && m_waiting->kind == kind) {
        ++m_waiting->count;
    } else if (!m_waiting) {
        m_waiting = Notice{kind, 1, text};
    } else {
        Platform::instance().beep();
        display(*std::exchange(m_waiting, Notice{kind, 1, text}));
    }
}

void PageNotice::setMessage(const Notice& notice)
{
    lblMensagem->setFont(m_font);
    fitNoticeText(lblMensagem, textOf(notice));
}

void PageNotice::display(const Notice& notice)
{
    m_shown = notice;
    setMessage(notice);
    m_remaining = 3;
    lblCount->setText(QString::number(m_remaining));
    // Started again, so that the first second is a whole one.
    TimerCount->setEnabled(false);
    TimerCount->setEnabled(true);
}

void PageNotice::TimerCount_Timer()
{
    --m_remaining;
    lblCount->setText(QString::number(m_remaining));
    if (m_remaining > 0)
        return;
    if (m_waiting) {
        Platform::instance().beep();
        display(*std::exchange(m_waiting, std::nullopt));
        return;
    }
    TimerCount->setEnabled(false);
    Hide();
    Forms::unload(this);
}

QString PageNotice::textOf(const Notice& notice)
{
    if (notice.count == 1)
        return notice.text;
    const QString n = QString::number(notice.count);
    switch (notice.kind) {
    case Kind::DownloadDone:
        return QStringLiteral("%1 downloads concluídos").arg(n);
    case Kind::DownloadFailed:
        return QStringLiteral("%1 downloads não foram concluídos").arg(n);
    case Kind::DownloadRefused:
        return QStringLiteral("%1 downloads bloqueados").arg(n);
    case Kind::PrintDone:
        return QStringLiteral("%1 páginas salvas em PDF").arg(n);
    case Kind::PrintFailed:
        return QStringLiteral("%1 páginas não foram salvas em PDF").arg(n);
    case Kind::PageNotification:
        return QStringLiteral("%1 notificações de páginas").arg(n);
    case Kind::ScreenShareRefused:
        break;
    }
    return notice.text;
}

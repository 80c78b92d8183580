#include "dialogs/Form5_Msg.h"

#include "app/ErrorReporter.h"
#include "app/FormTimer.h"
#include "app/Forms.h"
#include "app/Platform.h"
#include "dialogs/Layouts.h"
#include "sites/Form2_Lista.h"

#include <QLabel>

namespace {
constexpr int kOffsetLeft = 525;
constexpr int kOffsetTop = 1830;
} // namespace

Form5_Msg::Form5_Msg()
    : BaseForm(layout::Form5_MsgLayout)
    , lblMensagem(control<QLabel>("lblMensagem"))
    , lblCount(control<QLabel>("lblCount"))
{
    connectHandler(timer("TimerCount"), &FormTimer::Timer, this, &Form5_Msg::TimerCount_Timer);
}

void Form5_Msg::Form_Load()
{
    Form2_Lista& lista = Forms::get<Form2_Lista>();
    setLeft(float(lista.Left()) + kOffsetLeft);
    setTop(float(lista.Top()) + kOffsetTop);
    setWindowIcon(lista.windowIcon());
    QWidget* frame = control<QWidget>("shpForm");
    setControlWidth(frame, Width() - 15);
    setControlHeight(frame, Height() - 15);
    m_remaining = 3;
    lblCount->setText(QString::number(m_remaining));
    timer("TimerCount")->setEnabled(true);
}

void Form5_Msg::TimerCount_Timer()
{
    --m_remaining;
    lblCount->setText(QString::number(m_remaining));
    if (m_remaining < 1) {
        timer("TimerCount")->setEnabled(false);
        m_remaining = 0;
        Hide();
        Forms::unload(this);
    }
}

void showNotice(const QString& text)
{
    Platform::instance().beep();
    Form5_Msg& msg = Forms::get<Form5_Msg>();
    msg.lblMensagem->setText(text);
    msg.showModal();
}

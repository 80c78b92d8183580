#include "dialogs/Form5_Msg.h"

#include "core/ErrorReporter.h"
#include "core/Platform.h"
#include "dialogs/DialogPlacement.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"

#include <QLabel>

Form5_Msg::Form5_Msg()
    : BaseForm(layout::Form5_MsgLayout)
    , lblMensagem(control<QLabel>("lblMensagem"))
    , lblCount(control<QLabel>("lblCount"))
{
    connectHandler(timer("TimerCount"), &FormTimer::Timer, this, &Form5_Msg::TimerCount_Timer);
}

void Form5_Msg::Form_Load()
{
    placeOverAdministrationWindow(*this);
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

#include "chrome/SecondaryForm.h"

#include "app/ErrorReporter.h"
#include "app/FormTimer.h"
#include "app/Forms.h"
#include "browser/Form1_Ini.h"

#include <QLabel>

namespace {
constexpr int kHandOverMs = 250;
}

SecondaryForm::SecondaryForm(const layout::Form& form)
    : SkinnedForm(form, Options{})
{
    connectHandler(timer("TimerHideForm"), &FormTimer::Timer, this,
                   &SecondaryForm::TimerHideForm_Timer);
}

void SecondaryForm::takeMainWindowIcon()
{
    setWindowIcon(Forms::get<Form1_Ini>().iconSoftwarePicture());
}

void SecondaryForm::armHideTimer()
{
    timer("TimerHideForm")->setInterval(kHandOverMs);
    timer("TimerHideForm")->setEnabled(true);
}

void SecondaryForm::TimerHideForm_Timer()
{
    Forms::get<Form1_Ini>().Hide();
    timer("TimerHideForm")->setEnabled(false);
}

void SecondaryForm::handBackToMainWindow()
{
    Form1_Ini& main = Forms::get<Form1_Ini>();
    main.setLeft(Left());
    main.setTop(Top());
    main.Show();
    main.lblFormNothing->setText(Name());
    main.timer("TimerFormNothing")->setInterval(kHandOverMs);
    main.timer("TimerFormNothing")->setEnabled(true);
}

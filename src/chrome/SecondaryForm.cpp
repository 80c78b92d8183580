#include "chrome/SecondaryForm.h"

#include "core/ErrorReporter.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/MainWindow.h"

#include <QLabel>

SecondaryForm::SecondaryForm(const layout::Form& form)
    : SkinnedForm(form, Options{})
{
    connectHandler(timer("TimerHideForm"), &FormTimer::Timer, this,
                   &SecondaryForm::TimerHideForm_Timer);
}

void SecondaryForm::takeMainWindowIcon() { setWindowIcon(MainWindow::get().programIcon()); }

void SecondaryForm::armHideTimer()
{
    timer("TimerHideForm")->setInterval(MainWindow::kHandOverMs);
    timer("TimerHideForm")->setEnabled(true);
}

void SecondaryForm::TimerHideForm_Timer()
{
    MainWindow::get().form().Hide();
    timer("TimerHideForm")->setEnabled(false);
}

void SecondaryForm::handBackToMainWindow() { MainWindow::get().takeOverFrom(*this); }

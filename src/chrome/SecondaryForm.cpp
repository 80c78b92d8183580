#include "chrome/SecondaryForm.h"

#include "core/ErrorReporter.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/MainWindow.h"

#include <QLabel>
#include <QShortcut>

SecondaryForm::SecondaryForm(const layout::Form& form)
    : SkinnedForm(form, Options{})
    , TimerHideForm(timer("TimerHideForm"))
{
    connectHandler(TimerHideForm, &FormTimer::Timer, this, &SecondaryForm::TimerHideForm_Timer);
    connectHandler(windowKey(Qt::Key_Escape), &QShortcut::activated, this,
                   &SecondaryForm::imgFechar_Click);
}

void SecondaryForm::takeMainWindowIcon() { setWindowIcon(MainWindow::get().programIcon()); }

void SecondaryForm::armHideTimer()
{
    TimerHideForm->setInterval(MainWindow::kHandOverMs);
    TimerHideForm->setEnabled(true);
}

void SecondaryForm::TimerHideForm_Timer()
{
    MainWindow::get().form().Hide();
    TimerHideForm->setEnabled(false);
}

void SecondaryForm::handBackToMainWindow() { MainWindow::get().takeOverFrom(*this); }

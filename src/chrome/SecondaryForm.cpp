#include "chrome/SecondaryForm.h"

#include "core/ErrorReporter.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/MainWindow.h"

#include <QLabel>
#include <QShortcut>

SecondaryForm::SecondaryForm(const layout::Form& form)
    : SkinnedForm(form, Options{})
{
    connectHandler(timer("TimerHideForm"), &FormTimer::Timer, this,
                   &SecondaryForm::TimerHideForm_Timer);
    connectHandler(windowKey(Qt::Key_Escape), &QShortcut::activated, this,
                   &SecondaryForm::imgFechar_Click);
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

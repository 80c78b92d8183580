#pragma once

#include "chrome/SkinnedForm.h"

// The administration, About and Help windows: they take the main window's place on the screen
// while open and give it back, where they stand, when they close.
class SecondaryForm : public SkinnedForm {
    Q_OBJECT
public:
    explicit SecondaryForm(const layout::Form& form);

    void TimerHideForm_Timer();

protected:
    // The window icon is the main window's program icon.
    void takeMainWindowIcon();
    // The main window hides 250 ms after this window has appeared over it.
    void armHideTimer();
    // Shows the main window at this window's place and has it unload this one 250 ms later.
    void handBackToMainWindow();

    // The close image, Escape and a close from outside all hand back to the main window.
    void imgFechar_Click() override { handBackToMainWindow(); }
    void closeFromOutside() override { imgFechar_Click(); }

private:
    FormTimer* TimerHideForm;
};

#include "dialogs/DialogPlacement.h"

#include "forms/Forms.h"
#include "forms/MainWindow.h"

namespace {
constexpr int kOffsetLeft = 525;
constexpr int kOffsetTop = 1830;
// From the foot of the main window to the foot of the find window: above the buttons.
constexpr int kFootOffset = 750;

void fitFrame(BaseForm& dialog, QWidget& frame, const BaseForm& anchor)
{
    dialog.setWindowIcon(anchor.windowIcon());
    BaseForm::setControlWidth(&frame, dialog.Width() - 15);
    BaseForm::setControlHeight(&frame, dialog.Height() - 15);
}
} // namespace

void placeOverAdministrationWindow(BaseForm& dialog, QWidget& frame)
{
    // The dialogs belong to the administration window; shown without it, they stand over the
    // window that is there (the main window).
    const BaseForm* anchor = Forms::loadedByName(QStringLiteral("Form2_Lista"));
    if (!anchor)
        anchor = &MainWindow::get().form();
    dialog.setLeft(float(anchor->Left()) + kOffsetLeft);
    dialog.setTop(float(anchor->Top()) + kOffsetTop);
    fitFrame(dialog, frame, *anchor);
}

void placeOverMainWindow(BaseForm& dialog, QWidget& frame)
{
    const BaseForm& anchor = MainWindow::get().form();
    dialog.setLeft(anchor.Left() + (anchor.Width() - dialog.Width()) / 2.0);
    dialog.setTop(anchor.Top() + (anchor.Height() - dialog.Height()) / 2.0);
    fitFrame(dialog, frame, anchor);
}

void placeAtFootOfMainWindow(BaseForm& dialog, QWidget& frame)
{
    const BaseForm& anchor = MainWindow::get().form();
    dialog.setLeft(anchor.Left() + (anchor.Width() - dialog.Width()) / 2.0);
    dialog.setTop(anchor.Top() + anchor.Height() - dialog.Height() - kFootOffset);
    fitFrame(dialog, frame, anchor);
}

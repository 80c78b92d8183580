#include "dialogs/DialogPlacement.h"

#include "app/Forms.h"
#include "sites/Form2_Lista.h"

namespace {
constexpr int kOffsetLeft = 525;
constexpr int kOffsetTop = 1830;
} // namespace

void placeOverAdministrationWindow(BaseForm& dialog)
{
    Form2_Lista& lista = Forms::get<Form2_Lista>();
    dialog.setLeft(float(lista.Left()) + kOffsetLeft);
    dialog.setTop(float(lista.Top()) + kOffsetTop);
    dialog.setWindowIcon(lista.windowIcon());
    QWidget* frame = dialog.findChild<QWidget*>(QStringLiteral("shpForm"));
    BaseForm::setControlWidth(frame, dialog.Width() - 15);
    BaseForm::setControlHeight(frame, dialog.Height() - 15);
}

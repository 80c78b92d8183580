#include "dialogs/AnswerForm.h"

#include "chrome/WindowDrag.h"
#include "core/ErrorReporter.h"
#include "dialogs/DialogPlacement.h"
#include "forms/Controls.h"
#include "forms/Forms.h"

#include <QKeyEvent>

AnswerForm::AnswerForm(const layout::Form& form, Place place)
    : BaseForm(form)
    , shpForm(control<QWidget>("shpForm"))
    , m_place(place)
{
}

void AnswerForm::Form_Load()
{
    if (m_place == Place::AtFootOfMainWindow)
        placeAtFootOfMainWindow(*this, *shpForm);
    else
        placeOverMainWindow(*this, *shpForm);
}

void AnswerForm::rejectAnswer()
{
    Hide();
    Forms::unload(this);
}

void AnswerForm::connectButtons(LabelControl* accept, LabelControl* reject)
{
    connectHandler(accept, &LabelControl::Click, this, &AnswerForm::acceptAnswer);
    connectHandler(reject, &LabelControl::Click, this, &AnswerForm::rejectAnswer);
}

void AnswerForm::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ErrorReporter::guard([this] { acceptAnswer(); });
        break;
    case Qt::Key_Escape:
        rejectAnswer();
        break;
    default:
        BaseForm::keyPressEvent(event);
    }
}

void AnswerForm::Form_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        WindowDrag::start(this);
}

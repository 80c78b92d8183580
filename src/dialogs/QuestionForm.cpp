#include "dialogs/QuestionForm.h"

#include "forms/Controls.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"

#include <QFontMetrics>

QuestionForm::QuestionForm()
    : AnswerForm(layout::QuestionFormLayout)
    , lblMensagem(control<QLabel>("lblMensagem"))
{
    connectButtons(control<LabelControl>("btnYes"), control<LabelControl>("btnNo"));
}

bool QuestionForm::ask(const QString& message, const QString& detail)
{
    bool answer = false;
    if (Forms::ifLoaded<QuestionForm>())
        return answer;
    QuestionForm& form = Forms::get<QuestionForm>();
    form.m_answer = &answer;
    QLabel* label = form.lblMensagem;
    label->setText(message + u'\n' +
                   label->fontMetrics().elidedText(detail, Qt::ElideMiddle, label->width() - 4));
    form.showModal();
    return answer;
}

void QuestionForm::acceptAnswer()
{
    if (m_answer)
        *m_answer = true;
    m_answer = nullptr;
    rejectAnswer();
}

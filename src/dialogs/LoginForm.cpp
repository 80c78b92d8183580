#include "dialogs/LoginForm.h"

#include "forms/Controls.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"

#include <QLineEdit>

LoginForm::LoginForm()
    : AnswerForm(layout::LoginFormLayout)
    , lblMensagem(control<QLabel>("lblMensagem"))
    , txtUsuario(control<QLineEdit>("txtUsuario"))
    , txtSenha(control<QLineEdit>("txtSenha"))
{
    txtSenha->setEchoMode(QLineEdit::Password);
    connectButtons(control<LabelControl>("btnOK"), control<LabelControl>("btnCancel"));
}

std::optional<LoginForm::Credentials> LoginForm::ask(const QString& message)
{
    std::optional<Credentials> answer;
    if (Forms::ifLoaded<LoginForm>())
        return answer;
    LoginForm& form = Forms::get<LoginForm>();
    form.m_answer = &answer;
    form.lblMensagem->setText(message);
    form.txtUsuario->setFocus();
    form.showModal();
    return answer;
}

void LoginForm::acceptAnswer()
{
    if (m_answer)
        *m_answer = Credentials{txtUsuario->text(), txtSenha->text()};
    m_answer = nullptr;
    rejectAnswer();
}

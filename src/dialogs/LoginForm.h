#pragma once

#include "dialogs/AnswerForm.h"

#include <optional>

class QLabel;
class QLineEdit;

// Asks for the user name and password that a site or a proxy wants.
class LoginForm : public AnswerForm {
    Q_OBJECT
public:
    struct Credentials {
        QString user;
        QString password;
    };

    LoginForm();

    // Shows `message` and waits; empty when the user cancelled or a login window is already
    // open.
    static std::optional<Credentials> ask(const QString& message);

protected:
    void acceptAnswer() override;

private:
    QLabel* lblMensagem;
    QLineEdit* txtUsuario;
    QLineEdit* txtSenha;
    std::optional<Credentials>* m_answer = nullptr;
};

#pragma once

#include "dialogs/AnswerForm.h"

#include <functional>
#include <optional>

class QFontMetrics;
class QLabel;
class QLineEdit;

// Asks for the user name and password that a site or a proxy wants. The window is not modal:
// the window it stands over keeps its buttons and keys, and each of them ends the login as
// Escape does before it acts.
class LoginForm : public AnswerForm {
    Q_OBJECT
public:
    struct Credentials {
        QString user;
        QString password;
    };
    // Who asks. `site` is the end of `host` that always shows (its registrable part); the
    // realm is the server's own text, shown as plain text on one line.
    struct Asker {
        QString host;
        QString site;
        QString realm;
        bool proxy = false;
    };

    LoginForm();

    // Shows who asks and waits; empty when the user cancelled (Escape, CANCELAR, a close, an
    // action of the window the login stands over) or a login is already waiting. While it
    // waits, the keys of `keysOf` with Ctrl or Alt, and its function keys, work here too.
    static std::optional<Credentials> ask(const Asker& asker, QWidget* keysOf);
    // True while a login waits for its answer.
    static bool waiting();
    // Ends a waiting login as Escape does and runs `action` (under the error guard) once that
    // wait has returned, so that it never runs inside the engine's call for the answer;
    // without a waiting login, runs `action` now.
    static void endThen(QObject* context, const std::function<void()>& action);

    // The host as it fits in `width` pixels: whole, or cut before its site so that the site
    // shows whole; a site wider than that shows its end.
    static QString fitHost(const QString& host, const QString& site, const QFontMetrics& metrics,
                           int width);

protected:
    void acceptAnswer() override;

private:
    void showAsker(const Asker& asker);
    void takeKeysOf(QWidget* window);

    QLabel* lblMensagem;
    QLineEdit* txtUsuario;
    QLineEdit* txtSenha;
    std::optional<Credentials>* m_answer = nullptr;
};

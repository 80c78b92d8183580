#pragma once

#include "dialogs/AnswerForm.h"

#include <functional>

class QLabel;

// Asks whether a site may use something (notifications, the camera, the microphone, the screen,
// the location, the pointer). "Permitir" or Enter allow; "Bloquear", Escape or a close from
// outside refuse. The window is not modal: it shows and returns, and the answer comes later.
class PermissionForm : public AnswerForm {
    Q_OBJECT
public:
    using Answered = std::function<void(bool allowed)>;

    PermissionForm();

    // Shows "HOST quer ..." for `kind` (one of PermissionStore's kinds) and returns at once;
    // `answered` runs once, after the window has gone. `site` is the end of `host` that always
    // shows when the host is too long. Nothing shows when a question is already open: the
    // caller asks one at a time.
    static void ask(const QString& host, const QString& site, const QString& kind,
                    Answered answered);
    // Takes the open question away unanswered: its `answered` never runs.
    static void withdraw();
    // The question's sentence for `kind`, with the host whole.
    static QString question(const QString& host, const QString& kind);

protected:
    void acceptAnswer() override;

private:
    void refused();

    QLabel* lblMensagem;
    Answered m_answered;
};

#pragma once

#include "dialogs/AnswerForm.h"

class QLabel;

// A yes/no question: "SIM" or Enter says yes; "NÃO", Escape or a close from outside say no.
class QuestionForm : public AnswerForm {
    Q_OBJECT
public:
    QuestionForm();

    // Shows `message`, then `detail` on a line of its own, cut in the middle where it is too
    // long, and waits for the answer; no when a question is already open.
    static bool ask(const QString& message, const QString& detail);

protected:
    void acceptAnswer() override;

private:
    QLabel* lblMensagem;
    bool* m_answer = nullptr;
};

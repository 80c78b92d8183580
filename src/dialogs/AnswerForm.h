#pragma once

#include "forms/BaseForm.h"

class LabelControl;

// A small window that waits for an answer, in the notice's style: it stands over the main
// window, moves with the pointer, and takes Enter as its first button and Escape (or a close
// from outside) as its second.
class AnswerForm : public BaseForm {
    Q_OBJECT
public:
    // Where the window stands when it loads: centred over the main window, or along the foot of
    // its page.
    enum class Place { OverMainWindow, AtFootOfMainWindow };

    explicit AnswerForm(const layout::Form& form, Place place = Place::OverMainWindow);

    void Form_Load() override;

protected:
    virtual void acceptAnswer() = 0;
    // Unloads the window; the answer stays "no".
    void rejectAnswer();
    // The first button accepts, the second rejects.
    void connectButtons(LabelControl* accept, LabelControl* reject);

    void keyPressEvent(QKeyEvent* event) override;
    void Form_MouseDown(Qt::MouseButton button) override;

private:
    QWidget* shpForm;
    Place m_place;
};

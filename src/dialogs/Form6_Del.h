#pragma once

#include "app/BaseForm.h"
#include "chrome/PressedLook.h"

class LabelControl;

// Asks before the selected saved sites are deleted, and deletes them on "SIM".
class Form6_Del : public BaseForm {
    Q_OBJECT
public:
    Form6_Del();

    void Form_Load() override;
    void btnDelete_Click();
    void btnClose_Click();

    LabelControl* btnDelete;
    LabelControl* btnClose;

private:
    PressedLook m_pressedLook;
};

#pragma once

#include "chrome/SecondaryForm.h"

class ImageControl;
class LabelControl;

// The three read-me documents, and a link to the administration window.
class Form4_Help : public SecondaryForm {
    Q_OBJECT
public:
    Form4_Help();

    void Form_Load() override;
    void btn1_Click();
    void btn2_Click();
    void btn3_Click();
    void lblURL_Click();
    void OpenFile(const QString& filePath);

private:
    ImageControl* btn1;
    ImageControl* btn2;
    ImageControl* btn3;
    LabelControl* lblURL;
};

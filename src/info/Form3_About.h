#pragma once

#include "chrome/SecondaryForm.h"

class ImageControl;

// Who made the program, its version and dates, and a button to the maker's web site.
class Form3_About : public SecondaryForm {
    Q_OBJECT
public:
    Form3_About();

    void Form_Load() override;
    void btnMeuSite_Click();

private:
    ImageControl* btnMeuSite;
};

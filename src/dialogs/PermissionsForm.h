#pragma once

#include "dialogs/AnswerForm.h"

class DecisionList;

// "Quorvane - Permissões": what the user decided each site may do, newest first, over the main
// window. Up and Down (or a click) choose a decision, Delete forgets it at once, so that the site
// is asked again; Enter and Escape close. It refills whenever the store forgets a decision.
class PermissionsForm : public AnswerForm {
    Q_OBJECT
public:
    PermissionsForm();
    ~PermissionsForm() override;

    // Reads the decisions (an error there opens nothing), then loads the window or brings it
    // forward.
    static PermissionsForm& open();

protected:
    void acceptAnswer() override;

private:
    void refill();
    void forgetChosen();

    DecisionList* lstDecisoes;
};

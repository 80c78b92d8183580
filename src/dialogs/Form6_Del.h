#pragma once

#include "chrome/PressedLook.h"
#include "forms/BaseForm.h"

#include <QList>
#include <QPointer>

class LabelControl;

// What the confirmation needs of the window that asked for it.
class DeletionRequester {
public:
    virtual ~DeletionRequester() = default;
    // The ids of the selected rows, from the bottom of the list up.
    virtual QList<qint64> selectedSiteIds() const = 0;
};

// Asks before the selected saved sites are deleted, and deletes them on "SIM" through the site
// store, whose announcement refills the list before the notice.
class Form6_Del : public BaseForm {
    Q_OBJECT
public:
    Form6_Del();

    void Form_Load() override;
    // Shows the question modally over `window`; "SIM" deletes what `requester` has selected.
    void ask(BaseForm& window, DeletionRequester& requester);
    void btnDelete_Click();
    void btnClose_Click();

protected:
    // Closing from outside answers "NÃO".
    void closeFromOutside() override { btnClose_Click(); }

private:
    LabelControl* btnDelete;
    LabelControl* btnClose;
    QWidget* shpForm;
    PressedLook m_pressedLook;
    QPointer<BaseForm> m_window;
    DeletionRequester* m_requester = nullptr;
};

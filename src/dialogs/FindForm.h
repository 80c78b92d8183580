#pragma once

#include "dialogs/AnswerForm.h"
#include "forms/BrowserControl.h"

#include <QPointer>

class QLabel;
class QLineEdit;

// Finds text in the page a browser control shows: typing finds as one types, Enter goes to the
// next match and Shift+Enter to the previous one, the count ("3 de 17") shows which; Escape or
// a close from outside closes the window and clears the highlight. It does not wait: the page
// stays usable beside it.
class FindForm : public AnswerForm {
    Q_OBJECT
public:
    FindForm();

    // Shows the window over the main window for `browser` (or brings it back, its text
    // selected).
    static void open(BrowserControl* browser);

    void Form_Unload() override;

protected:
    // Enter: the next match.
    void acceptAnswer() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void find(BrowserControl::Find direction);
    void showCount(int active, int matches);

    QLineEdit* txtBusca;
    QLabel* lblContagem;
    QPointer<BrowserControl> m_browser;
};

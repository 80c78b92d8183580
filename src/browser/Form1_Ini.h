#pragma once

#include "chrome/SkinnedForm.h"

#include <QIcon>

class BrowserControl;
class CWebBrowserEvents;
class ImageControl;
class QLabel;

// The main window: the browser, the start-up sequence, the buttons that open the other
// windows, and the shared state they read and write through its hidden labels.
class Form1_Ini : public SkinnedForm {
    Q_OBJECT
public:
    Form1_Ini();

    void Form_Load() override;
    void Form_Unload() override;
    void UnloadAllForms();

    void btnAbout_Click();
    void btnHelp_Click();
    void btnAdm_Click();
    void btnMeuSite_Click();
    void btnHome_Click();
    void btnBack_Click();
    void btnForward_Click();
    void TimerFormNothing_Timer();
    void TimerShowForm_Timer();

    // The picture of the hidden image iconSoftware: the program icon every window uses.
    QIcon iconSoftwarePicture() const { return m_icon; }

    BrowserControl* WebBrowser2;
    BrowserControl* WebBrowser1;
    QLabel* lblHomeURL;
    QLabel* lblTituloHome;
    QLabel* lblNumChecked;
    QLabel* lblFormNothing;
    QLabel* lblNavigate;

protected:
    void imgFechar_Click() override;

private:
    void connectButtons();
    template <class T>
    void openSecondary();

    ImageControl* btnHome;
    ImageControl* btnBack;
    ImageControl* btnForward;
    ImageControl* btnAdm;
    ImageControl* btnHelp;
    ImageControl* btnAbout;
    ImageControl* btnMeuSite;
    QIcon m_icon;
    CWebBrowserEvents* m_events = nullptr;
};

#pragma once

#include "chrome/SkinnedForm.h"
#include "forms/MainWindow.h"
#include "storage/SessionStore.h"

#include <QIcon>
#include <QStringList>

class BrowserControl;
class CWebBrowserEvents;
class HistoryRecorder;
class HistoryStore;
class ImageControl;
class PageListing;
class SessionKeeper;
class PagePrinter;
class QLabel;

// The main window: the browser, the start-up sequence, the buttons that open the other
// windows, and the shared state they read and write through its hidden labels.
//
// The hidden carrier labels, below the visible area:
//
//   label           written by                                 read by
//   lblHomeURL      start-up; Form2_Lista "make home"           btnHome
//   lblTituloHome   start-up; Form2_Lista "make home"           btnAdm, Form4_Help's link (shown
//                                                               in Form2_Lista's lblTituloHome)
//   lblNumChecked   start-up; Form2_Lista's CheckMinimize       Form2_Lista's load
//   lblNavigate     Form2_Lista, opening a site                 Form2_Lista's TimerShowForm
//   lblFormNothing  a secondary window handing back its place   TimerFormNothing (unloads it)
//
// Other windows reach them only through the MainWindow operations.
class Form1_Ini : public SkinnedForm, public MainWindow {
    Q_OBJECT
public:
    Form1_Ini();

    void Form_Load() override;
    void Form_Unload() override;
    void UnloadAllForms();
    // Ends the program as the close image does (once a waiting login has ended).
    void endNormally() { imgFechar_Click(); }

    void btnAbout_Click();
    void btnHelp_Click();
    void btnAdm_Click();
    void btnMeuSite_Click();
    void btnHome_Click();
    void btnBack_Click();
    void btnForward_Click();
    void TimerFormNothing_Timer();
    void TimerShowForm_Timer();
    // Ctrl+D: the page shown goes to the saved sites, once.
    void savePageToList();
    // Ctrl+Shift+Delete: after a "SIM", the engine forgets what browsing left behind; a second
    // "SIM", asked when there are any, forgets the sites' permissions too.
    void askToClearBrowsingData();
    // Ctrl+L: the address window.
    void openGoto();
    // Ctrl+T: a new page, and the address window over it.
    void openNewPage();

    // The visited pages, recorded from start-up on (a disabled store when the file could not be
    // opened); null before the load handler has run.
    HistoryStore* history() const;

    BaseForm& form() override { return *this; }
    QIcon programIcon() const override { return m_icon; }
    QString homeTitle() const override;
    void setHome(const QString& url, const QString& title) override;
    int startMinimizedFlag() const override;
    void setStartMinimizedFlag(int flag) override;
    void setAddressToOpen(const QString& address) override;
    void openAddressToOpen() override;
    void navigate(const QString& address) override;
    void openInNewPages(const QStringList& addresses) override;
    void takeOverFrom(const BaseForm& from) override;

protected:
    void imgFechar_Click() override;
    // Alt+F4 and the window manager's close unload the window once a waiting login has ended.
    void closeFromOutside() override;

private:
    void connectButtons();
    void createKeys();
    void createPageKeys();
    template <class T>
    void openSecondary();

    BrowserControl* WebBrowser2;
    BrowserControl* WebBrowser1;
    QLabel* lblHomeURL;
    QLabel* lblTituloHome;
    QLabel* lblNumChecked;
    QLabel* lblFormNothing;
    QLabel* lblNavigate;
    ImageControl* btnHome;
    ImageControl* btnBack;
    ImageControl* btnForward;
    ImageControl* btnAdm;
    ImageControl* btnHelp;
    ImageControl* btnAbout;
    ImageControl* btnMeuSite;
    FormTimer* TimerFormNothing;
    FormTimer* TimerShowForm;
    QIcon m_icon;
    CWebBrowserEvents* m_events = nullptr;
    PagePrinter* m_printer = nullptr;
    PageListing* m_pages = nullptr;
    HistoryRecorder* m_history = nullptr;
    SessionKeeper* m_session = nullptr;
    QStringList m_restoreNotices; // shown once the window is up
    QStringList m_laterReports;   // errors found before the window was up
    bool m_noticesShown = false;
    void showRestoreNotices();
    void startHistory();
    // The pages a run that did not end normally left behind; none when it did.
    Session startSession();
    void reportHistoryOff(const QString& message);
    // Shown once the window is up (at once when it is).
    void reportLater(const QString& notice);
};

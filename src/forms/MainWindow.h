#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

#include <functional>

class BaseForm;

// What the other windows ask of the main window: the shared state it keeps in its hidden
// labels and the hand-over of the screen place. The main window implements it; the windows
// below it in the source tree reach it only through here.
class MainWindow {
public:
    virtual ~MainWindow() = default;

    // The delay of every hand-over between the main window and a secondary one.
    static constexpr int kHandOverMs = 250;

    virtual BaseForm& form() = 0;
    // The picture of the hidden image iconSoftware: the program icon every window uses.
    virtual QIcon programIcon() const = 0;

    // lblHomeURL and lblTituloHome.
    virtual QString homeTitle() const = 0;
    virtual void setHome(const QString& url, const QString& title) = 0;
    // lblNumChecked: the start-minimized flag, 0 or 1.
    virtual int startMinimizedFlag() const = 0;
    virtual void setStartMinimizedFlag(int flag) = 0;
    // lblNavigate: the address a window hands over to be opened, and opening it.
    virtual void setAddressToOpen(const QString& address) = 0;
    virtual void openAddressToOpen() = 0;
    // Opens an address (already completed) in the browser.
    virtual void navigate(const QString& address) = 0;
    // Opens each address (already checked, see StartAddresses) in a new page, the last one
    // shown, with the window shown (out of the tray too).
    virtual void openInNewPages(const QStringList& addresses) = 0;
    // Shows the main window at the place of `from`, names `from` in lblFormNothing and has it
    // unloaded 250 ms later.
    virtual void takeOverFrom(const BaseForm& from) = 0;

    // The main window, loaded first if it is not loaded (its load handler runs to completion).
    static MainWindow& get();
    // Set once at start-up (and by tests): how the main window is reached.
    static void setLoader(std::function<MainWindow&()> loader);
};

#pragma once

#include "chrome/PressedLook.h"
#include "forms/BaseForm.h"

#include <QSystemTrayIcon>

class ImageControl;
class QLabel;

// The behaviour every large skinned window shares: dragging, the three title-bar image pairs,
// hiding to the tray, the hover highlight and the pressed look of image buttons.
class SkinnedForm : public BaseForm {
    Q_OBJECT
public:
    struct Options {
        // The main window also moves when its top tab is pressed.
        bool dragOnTab = false;
        // A right release on the tray icon restores the window and removes the icon; the
        // main window keeps its icon on that path.
        bool rightReleaseRemovesIcon = true;
    };

    SkinnedForm(const layout::Form& form, Options options);

    // Hides the window behind its tray icon (or minimizes it when there is no tray).
    void minimize_to_tray();
    // The tray icon's notifications: a left press and a right release restore the window.
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
    bool trayIconVisible() const;

    // True when the pointer lies strictly inside the control's rectangle on the screen.
    bool IsMouseOver(const QWidget* control) const;
    // Swaps the title-bar pairs under the pointer. The timer runs only while it can change
    // something: it starts when the pointer enters or leaves the window or the window is
    // shown or restored, and stops once the window is hidden or minimized, or the pointer is
    // outside it with no highlight left.
    void TimerMouseOver_Timer();

    void desceBotao(QWidget* botao);
    void sobeBotao(QWidget* botao);

protected:
    // Gives an image or label button the pressed look.
    void withPressedLook(QWidget* botao);
    // Sets the hover timer going and the window's size and frame, as every load does.
    void startChrome();

    virtual void imgFechar_Click() = 0;
    void imgMinimizar_Click() { minimize(); }

    void Form_MouseDown(Qt::MouseButton button) override;
    bool event(QEvent* event) override;
    void startDrag();

private:
    void createTitleBar();
    void joinLogo();
    void removeTrayIcon();
    bool hoverCanChange() const;

    ImageControl* imgMinimizar;
    ImageControl* imgMinimizarOn;
    ImageControl* imgTray;
    ImageControl* imgTrayOn;
    ImageControl* imgFechar;
    ImageControl* imgFecharOn;
    ImageControl* abaTopo;
    QWidget* shpForm;
    QLabel* lblPosTop;
    QLabel* lblPosLeft;
    FormTimer* TimerMouseOver;
    Options m_options;
    PressedLook m_pressedLook;
    QSystemTrayIcon* m_tray = nullptr;
};

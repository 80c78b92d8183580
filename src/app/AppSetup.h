#pragma once

#include <QStringList>

// Process-wide settings shared by the program and its tests.
namespace AppSetup {

// Before QApplication: engine sandbox as root, X11 under Wayland, shared GL contexts.
void beforeApplication();
// After QApplication: the skin's style and palette, the browser control factory.
void afterApplication();
// A later start asked for the program: the window hidden behind its tray icon comes back as a
// left click on the icon brings it; otherwise the topmost shown window (restored when
// minimized) is raised and activated.
void bringToFront();
// Addresses and notices from outside the program: its own arguments (Show::WithAddresses: the
// window comes to the front only for addresses) or a later start's (Show::Always). The window
// comes to the front as above (a start minimized to the tray does not keep it hidden), the
// addresses open in new pages, then each notice shows.
enum class Show { Always, WithAddresses };
void openFromOutside(const QStringList& addresses, const QStringList& notices, Show show);

} // namespace AppSetup

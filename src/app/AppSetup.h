#pragma once

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

} // namespace AppSetup

#pragma once

// Process-wide settings shared by the program and its tests.
namespace AppSetup {

// Before QApplication: engine sandbox as root, X11 under Wayland, shared GL contexts.
void beforeApplication();
// After QApplication: the skin's style and palette, the browser control factory.
void afterApplication();

} // namespace AppSetup

#pragma once

class QWidget;

// Moves a window with the pointer until the button is released: through the window manager's
// interactive move, or by hand where the window manager refuses it.
namespace WindowDrag {
void start(QWidget* window);
}

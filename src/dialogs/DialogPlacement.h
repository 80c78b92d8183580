#pragma once

class BaseForm;
class QWidget;

// The notice and the confirmation stand 525 and 1830 twips from the administration window's
// corner, wherever it has been dragged, with its icon and their frame along their edges.
void placeOverAdministrationWindow(BaseForm& dialog, QWidget& frame);

// The login window and the question about an outside address stand centred over the main
// window, with its icon and their frame along their edges.
void placeOverMainWindow(BaseForm& dialog, QWidget& frame);

// The find window stands centred along the foot of the main window's page, clear of the text
// it finds.
void placeAtFootOfMainWindow(BaseForm& dialog, QWidget& frame);

#pragma once

class BaseForm;

// The notice and the confirmation stand 525 and 1830 twips from the administration window's
// corner, wherever it has been dragged, with its icon and their frame along their edges.
void placeOverAdministrationWindow(BaseForm& dialog);

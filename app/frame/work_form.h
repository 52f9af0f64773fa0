// A window of work that the main menu opens (the customer list, the customer
// data, data transfer, the service-station editor). The main menu gives way
// when it opens and comes back when it closes by its own Cancel; a window
// that replaces it (it is unloaded without its Cancel) leaves the work going
// and the main menu away.
#pragma once

#include "frame/form.h"

class WorkForm : public ChildForm {
  Q_OBJECT
 public:
  // The Cancel road: the window's own Cancel effects (onCancel), then it
  // closes and the main menu comes back.
  void cancel() override;

 protected:
  // The close box runs the Cancel road.
  WorkForm();
  virtual void onCancel() {}
};

// The main menu gives way to the window: the hourglass on the main window,
// the main menu unloaded, the window shown and given the focus, the pointer
// back to normal.
void openInPlaceOfMainMenu(ChildForm& window);
// Display main menu: shown and given the focus.
void showMainMenu();
// The main menu after a work window: unloaded when it is loaded and shown
// again, so that its buttons follow the work now chosen.
void showMainMenuAgain();

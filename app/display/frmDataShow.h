// The display window of one system's data, live (opened by the map window)
// or replaying a recorded file (opened by the customer data window). Several
// are open at once, each an instance of its own numbered by formNumber and
// held by its opener's DisplayWindowOwner under that number as text.
//
// For now the window carries what its openers and the end of the program
// use: its identity, its model, the steps its openers call while they set
// it up (see display/data_show_opening.h), and its closing on request. Of
// the set-up steps only setDataItem does anything yet: it counts the items.
#pragma once

#include "frame/form.h"
#include "types/GraphSystem.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QTimer;

class frmDataShow : public ChildForm {
  Q_OBJECT
 public:
  // A new window, to be held in an opener's collection; dropping the last
  // holder deletes the window.
  static std::shared_ptr<frmDataShow> create();
  // A window made elsewhere (a test's stand-in), held the same way.
  static std::shared_ptr<frmDataShow> hold(frmDataShow* window);

  // The set-up steps, in the order the opening calls them.
  // Reads the units' data items from the library and sets totalItemNumber.
  virtual void setDataItem();
  virtual void showCusor() {}
  virtual void setCusorData() {}
  virtual void showTital() {}
  virtual void showLabel() {}
  virtual void showDataItem() {}
  virtual void showCusorData() {}
  virtual void setDefaultGraph() {}
  virtual void showGraphMarkerFirst() {}
  virtual void showGraph() {}
  // Releases the window's model; the next use makes an empty one.
  virtual void deleteGraphSystemObj() { graphSystemObj.reset(); }
  // The window's model, made empty on first use.
  GraphSystem& graphSystem();

  // Starts the window's own closing: it hides, releases its recorded file
  // (replay windows) and unloads itself when its end timer fires, leaving
  // its opener's collection. A window already closing is left as it is.
  void prepareForEndFormDataShow();
  // The end timer's step: unloads and leaves the opener's collection.
  void tmrForEnd_Timer();

  int32_t formNumber = 0;
  int32_t realtime = 1;    // 1 live window of the map, 0 replay
  int32_t dataSource = 0;  // 0 the library's live tables, 1 a recorded file
  QString customDir;       // replay: the customer folder of the file
  int32_t fileNumber = 0;  // replay: the file's index in that folder
  bool flagForEnd = false;
  bool flagForEndOk = true;  // set-up finished: the window may close itself
  std::shared_ptr<GraphSystem> graphSystemObj;

  QTimer* tmrForEnd = nullptr;

  static constexpr int kEndDelayMs = 5000;

 protected:
  frmDataShow();
  void onLoad() override;

 private:
  friend class DisplayWindowOwner;
  // Set by the owner that holds the window: drops it from its collection.
  std::function<void(const frmDataShow&)> leaveOwner_;
};

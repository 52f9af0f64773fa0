// The display windows one window has opened (the map's live windows, the
// customer data window's replay windows): the collection keyed by each
// window's formNumber as text, the numbering of new windows, the end flag of
// the opener, and the closing of them all. A window held here leaves the
// collection by itself once it has unloaded.
#pragma once

#include "display/frmDataShow.h"
#include "types/Collection.h"

#include <functional>
#include <memory>

class DisplayWindowOwner {
 public:
  using Factory = std::function<std::shared_ptr<frmDataShow>()>;
  // Puts another maker of display windows in place (tests); null goes back
  // to frmDataShow::create.
  static void setFactory(Factory factory);

  DisplayWindowOwner() = default;
  ~DisplayWindowOwner();
  DisplayWindowOwner(const DisplayWindowOwner&) = delete;
  DisplayWindowOwner& operator=(const DisplayWindowOwner&) = delete;

  // One above the highest formNumber held (1 when none is).
  int32_t nextFormNumber() const;
  // A new window numbered nextFormNumber(), not yet held.
  std::shared_ptr<frmDataShow> newWindow() const;
  // Holds the window under its formNumber as text. Refused (false) when the
  // number is taken or the opener is ending.
  bool add(const std::shared_ptr<frmDataShow>& window);
  // Drops the window of the same formNumber, if any.
  void removeFormDataShow(const frmDataShow& form);

  const Collection<frmDataShow>& windows() const { return windows_; }
  bool isEmpty() const { return windows_.isEmpty(); }
  int count() const { return windows_.count(); }

  // Every window held is told to close (prepareForEndFormDataShow); each
  // leaves when it has unloaded.
  void closeWindows();
  // The opener ends: flagForEnd is set, then the windows are told to close.
  void prepareForEnd();
  bool flagForEnd() const { return flagForEnd_; }
  // A new opening of the opener: its end is over.
  void clearFlagForEnd() { flagForEnd_ = false; }

 private:
  Collection<frmDataShow> windows_;
  bool flagForEnd_ = false;
};

// The opening of a display window, the same for both openers (the map for
// live windows, the customer data window for replay windows): a new window
// numbered one above the opener's highest, registered with the event guard,
// its model filled by the opener, its items read, then held by the opener,
// shown and drawn stage by stage while it is not closing.
#pragma once

#include "display/display_window_owner.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

struct GraphSystem;

// What the opener sets before the window is first used.
struct DataShowSource {
  int32_t realtime = 1;    // 1 live, 0 replay
  int32_t dataSource = 0;  // 0 the live tables, 1 a recorded file
  QString customDir;       // replay: the file's folder text
  int32_t fileNumber = 0;  // replay: the file's position in that folder's list
  // Live: the open map's count of ordinary systems, read at each use (the
  // library numbers central-bus systems after them).
  std::function<int32_t()> ordinarySystems;
};
DataShowSource liveDataShow(std::function<int32_t()> ordinarySystems = {});
DataShowSource replayDataShow(const QString& customDir, int32_t fileNumber);

enum class DataShowOpened {
  Shown,        // set up and held by the opener
  Closing,      // closed during set-up: held until its end step unloads it
  Refused,      // the event guard refused the load: no window
  NoItems,      // the system has no items: the window was let go
  NotHeld,      // its number was taken meanwhile, or the opener is ending
};

struct DataShowOpening {
  DataShowOpened outcome = DataShowOpened::Refused;
  std::shared_ptr<frmDataShow> window;  // null unless Shown or Closing
  // The window took over what the opener opened for it (a replay file):
  // it releases it when it closes. Otherwise the opener must.
  bool windowOwnsSource() const { return window != nullptr; }
};

// The opener's own step: fills the new window's model with the system and
// its units before the items are read.
using GraphSystemFill = std::function<void(GraphSystem&)>;

DataShowOpening openDataShow(DisplayWindowOwner& owner, const DataShowSource& source, const GraphSystemFill& fill);

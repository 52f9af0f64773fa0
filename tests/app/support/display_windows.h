// Display windows over the fake library for the display tests: a started
// program whose library answers the items set here, an owner that opens
// windows as the map and the customer data window do, and the systems the
// openers fill in.
#pragma once

#include "display/data_show_opening.h"
#include "display/display_window_owner.h"
#include "support/fake_items.h"
#include "support/program_fixture.h"
#include "types/GraphSystem.h"

#include <QStringList>

#include <functional>
#include <memory>

class QTableWidget;

struct Units {
  int32_t out = 0, in = 0, cen = 0, sen = 0;
};

// The opener's fill: system 1 of the kind with numbered units, the first
// chosen; `more` adds to it.
GraphSystemFill systemOf(int32_t kind, Units units, std::function<void(GraphSystem&)> more = {});

FakeItem analog(const char* name, int32_t graphDefault = 0);
FakeItem twoState(const char* name, int32_t graphDefault = 0);

// The texts of one column of a grid, row by row.
QStringList gridColumn(const QTableWidget& grid, int column);

class DisplayWorld {
 public:
  DisplayWorld();
  ~DisplayWorld();
  DisplayWorld(const DisplayWorld&) = delete;
  DisplayWorld& operator=(const DisplayWorld&) = delete;

  FakeTramsoll& fake() { return world->library.fake; }
  // A window set up and shown, or null.
  std::shared_ptr<frmDataShow> open(const DataShowSource& source, const GraphSystemFill& fill);
  std::shared_ptr<frmDataShow> openLive(const GraphSystemFill& fill, int32_t ordinarySystems = 0);
  // A replay of file 2 of the folder "C07".
  std::shared_ptr<frmDataShow> openReplay(const GraphSystemFill& fill);

  std::unique_ptr<ProgramFixture> world;
  std::unique_ptr<FakeItems> items;
  std::unique_ptr<DisplayWindowOwner> owner;
};

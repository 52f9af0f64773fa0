// A display window for the openers' tests: it logs the steps its opening
// calls, answers the item count set for it, and closes at a chosen step as
// its Cancel would. Put in place through DisplayWindowOwner's factory for the
// life of a DataShowDoubles.
#pragma once

#include "display/data_show_opening.h"
#include "display/display_window_owner.h"
#include "frame/event_manager.h"

#include <QString>
#include <QStringList>

#include <functional>

class DataShowDouble final : public frmDataShow {
 public:
  static inline QStringList steps;
  static inline int32_t items = 3;
  static inline QString closeAt;
  static inline std::function<void(frmDataShow&)> whileReadingItems;

  static void reset() {
    steps.clear();
    items = 3;
    closeAt.clear();
    whileReadingItems = nullptr;
    eventManager().deleteAllEventForms();
  }

  void setDataItem() override {
    step("setDataItem");
    graphSystem().totalItemNumber = items;
    if (whileReadingItems) whileReadingItems(*this);
  }
  void showCusor() override { step("showCusor"); }
  void setCusorData() override { step("setCusorData"); }
  void showTital() override { step("showTital"); }
  void showLabel() override { step("showLabel"); }
  void showDataItem() override { step("showDataItem"); }
  void showCusorData() override { step("showCusorData"); }
  void setDefaultGraph() override { step("setDefaultGraph"); }
  void showGraphMarkerFirst() override { step("showGraphMarkerFirst"); }
  void showGraph() override { step("showGraph"); }
  // The openers' tests follow the opening's steps; the redraw of a resize
  // (showing the window lays it out) is not one of them.
  void resizeEvent(QResizeEvent*) override {}

 private:
  void step(const char* name) {
    steps << QLatin1String(name);
    if (closeAt != QLatin1String(name)) return;
    eventManager().setEvent(kDataShowFormName, formNumber, dataSource, kCloseEvent);
    prepareForEndFormDataShow();
    eventManager().clearEvent(kDataShowFormName, formNumber, dataSource, kCloseEvent);
  }
};

// The doubles are the display windows while this lives.
struct DataShowDoubles {
  DataShowDoubles() { DisplayWindowOwner::setFactory([] { return frmDataShow::hold(new DataShowDouble); }); }
  ~DataShowDoubles() {
    DisplayWindowOwner::setFactory(nullptr);
    DataShowDouble::reset();
  }
  DataShowDoubles(const DataShowDoubles&) = delete;
  DataShowDoubles& operator=(const DataShowDoubles&) = delete;
};

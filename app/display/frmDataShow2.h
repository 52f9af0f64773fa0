// The detail window of a display window: the values behind the graphs'
// current screen as a grid of texts, one row per sample time and one column
// per graphed item (at most 16), read from the library as texts
// (getGraphData2) rather than from the drawing.
//
// A display window opens any number of them (its D key), numbers them one
// above the highest it holds and keeps them in its detailForms. A detail
// window of a replay is filled once, when it opens; one of a live window is
// refilled at every refresh of its parent, hidden or not. Esc hides it; the
// parent's closing hides it too, and its unloading deletes it.
#pragma once

#include "frame/form.h"
#include "types/GraphSystem.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QTableWidget;
class frmDataShow;

// An item a column of the grid shows.
struct DetailColumn {
  int32_t unitNumber = 0;
  int32_t dataItemNo = 0;  // the library's item number
  int32_t unitKind = 0;    // 0 outdoor, 1 indoor, 100 central, 200 sensor
  bool operator==(const DetailColumn&) const = default;
};

class frmDataShow2 : public ChildForm {
  Q_OBJECT
 public:
  // A new detail window, to be held in its parent's detailForms; dropping
  // the last holder deletes it.
  static std::shared_ptr<frmDataShow2> create();

  static constexpr int kMaxColumns = 16;
  static constexpr int32_t kLiveRows = 121;  // a live screen: 10 minutes at 5 s

  int32_t formNumber = 0;  // its number among its parent's detail windows
  int32_t now_show = 0;    // 0 unloaded, 1 loaded, 2 filled once from live data

  // Takes the parent's source and model and fills the grid.
  void showData(frmDataShow& parent);
  // Refills the times and the columns listed when the grid was filled.
  void redrawData();
  // Hides the window (its parent closes).
  void prepareForEndFormDataShow2();
  bool hasKeysOfItsOwn() const override { return true; }

  // The items of the columns 1.. of the grid, in order.
  const std::vector<DetailColumn>& columnItems() const { return columnItems_; }

  QTableWidget* grd = nullptr;
  QLabel* start = nullptr;  // the period of the grid

 protected:
  frmDataShow2();
  void onLoad() override;
  void onUnload() override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void placeBesideParent();
  void fillTimeColumn();
  void fillColumn(int column, const DetailColumn& item);
  int32_t systemNumber() const;
  bool live() const { return dataSource_ == 0; }

  int32_t dataSource_ = 0;
  QString customDir_;
  int32_t fileNumber_ = 0;
  std::shared_ptr<GraphSystem> graph_;
  // The parent's count of its map's ordinary systems (live windows).
  std::function<int32_t()> ordinarySystems_;
  QPointer<frmDataShow> parent_;
  std::vector<DetailColumn> columnItems_;
};

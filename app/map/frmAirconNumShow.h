// The unit counts of a map: per refrigerant system its outdoor and indoor
// units, per central system its central devices (continuing the systems'
// numbering), the sub total of each kind and the total. A snapshot: the
// grid is filled when the window loads; the map sets the map and shows the
// window, and unloads it when its map changes or closes.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "types/MapQ7net.h"

#include <memory>

class QPushButton;
class QTableWidget;

class frmAirconNumShow : public SingleForm<frmAirconNumShow, ChildForm> {
  Q_OBJECT
 public:
  std::shared_ptr<MapQ7net> mapQ7netObj;

  QTableWidget* grdList = nullptr;
  QPushButton* cmdCancel = nullptr;

  static constexpr int kClientWidth = 6105;
  static constexpr int kClientHeight = 3630;

 protected:
  frmAirconNumShow();
  void onLoad() override;
  void onActivate() override;

 private:
  void showGridHeader();
  void fillUnitCounts();
  void widenColumnsToTheirTexts();

  int clientWidthTwips_ = kClientWidth;
  KeyTable keys_;
};

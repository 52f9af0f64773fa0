// The map list: the network maps of the customer being worked on, and the
// door to the map window. OK opens the chosen map: it starts gathering in
// the map's access mode first (recording work), then opens the map at once,
// after the standby warning or the unknown-model question (a bus map with a
// unit of unknown model), or not at all (a board map on the Plus adapter, a
// start the library refused). New and Edit map name lead to the
// access-method window, Delete deletes a map and writes the customer file,
// Cancel goes back to the customer list or editor.
//
// The maps are numbered 1..N in the order of their numbers whenever the
// list is filled, so that every row shows a map and every map a row.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "types/MapQ7net.h"

#include <cstdint>
#include <memory>

class QPushButton;
class QTableWidget;

class frmMapsList : public SingleForm<frmMapsList, ChildForm> {
  Q_OBJECT
 public:
  // Where the list was opened from: the customer list or the customer
  // editor.
  enum : int32_t { kFromCustomerList = 0, kFromCustomerEditor = 1 };
  int32_t mapsListComeFrom = kFromCustomerList;

  // Makes `map` the stored map of the map window and shows it (modes of
  // MapFixMode: as it is, after gathering was started for it, or after
  // gathering restarts with the initial bus scan). The list unloads.
  void doFix(int32_t mode, const std::shared_ptr<MapQ7net>& map);
  // Deletes the selected map (the maps after it move up), writes the
  // customer file and fills the list again.
  void deleteMap();

  // The buttons' roads; each acts only while its button is enabled when
  // reached by its key.
  void cmdFix_Click();
  void cmdNew_Click();
  void cmdEdit_Click();
  void cmdDelete_Click();
  // Back to the customer editor when the list came from it and the customer
  // has a name, else to the customer list.
  void cancel() override;

  QTableWidget* grdList = nullptr;
  QPushButton* cmdFix = nullptr;
  QPushButton* cmdNew = nullptr;
  QPushButton* cmdEdit = nullptr;
  QPushButton* cmdDelete = nullptr;
  QPushButton* cmdCancel = nullptr;
  // The row (from 1) chosen last; 0 until one was.
  int32_t selectedRow = 0;

  static constexpr int kWidth = 7620;
  static constexpr int kHeight = 3480;

 protected:
  frmMapsList();
  void onLoad() override;
  void onActivate() override;

 private:
  void showCaption();
  void fillGrid();
  int32_t mapCount() const;
  void noteSelectedRow();
  // The selected map when exactly one row is selected, else "4-1" and null.
  std::shared_ptr<MapQ7net> takeSingleMap();
  void openForRecording(const std::shared_ptr<MapQ7net>& map);
  void openBusMap(const std::shared_ptr<MapQ7net>& map);

  KeyTable keys_;
};

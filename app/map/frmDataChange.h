// The change of one control parameter of an outdoor unit: the unit's zubrel
// address, the parameter's number (0..255) and its new value (0..65535).
// Set asks (frmDataChangeConfirm) and sends the setting to the unit; the map
// reads it back five seconds later (settingSent starts its timer). Refresh
// asks the unit for it at once. The window lives for the whole run: a
// reopened window shows the last number and value set.
//
// The boxes are read without the locale: a decimal number, an exponent
// allowed, rounded with halves to the even neighbour before its range is
// checked. Wrong input never reaches the library ("8-1").
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "types/MapQ7net.h"

#include <cstdint>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class frmDataChange : public SingleForm<frmDataChange, ChildForm> {
  Q_OBJECT
 public:
  // The unit the change is for, and the map it is on (whose access method
  // the sends check).
  int32_t zubrelAddressThisForm = 0;
  std::shared_ptr<MapQ7net> mapQ7netObj;

  // The confirmed setting to the unit (when the map and the settings allow
  // it), the boxes shown anew, then settingSent.
  void setSendDataE8();
  // Asks the unit for the parameter (number and value 0).
  void setSendDataE6();

  QLabel* lblGuide1 = nullptr;
  QFrame* Line2 = nullptr;
  QLabel* lblZubrelAddress = nullptr;
  QLineEdit* txtZubrelAddress = nullptr;  // shown, never read
  QLabel* lblSetNo = nullptr;
  QLineEdit* txtSetNo = nullptr;
  QLabel* lblSetValue = nullptr;
  QLineEdit* txtSetValue = nullptr;
  QFrame* Line1 = nullptr;
  QPushButton* cmdDataChange = nullptr;   // Set
  QPushButton* cmdDataRequire = nullptr;  // Refresh
  QPushButton* cmdCancel = nullptr;

  static constexpr int kClientWidth = 5700;
  static constexpr int kClientHeight = 2880;

 signals:
  // A setting went out (or would have): the read-back is due in 5 s.
  void settingSent();

 protected:
  frmDataChange();
  void onLoad() override;

 private:
  void applyCaptionTexts();
  void placeBoxesBesideLabels();
  void showDataChange();
  // False (with "8-1" shown and the focus on the first wrong box) unless
  // both boxes hold numbers within their ranges.
  bool checkDataChangeInput();
  void cmdDataChange_Click();

  int32_t setNo = 0;
  int32_t setValue = 0;
  KeyTable keys_;
};

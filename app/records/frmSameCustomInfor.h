// The question of the data transfer when the destination already holds a
// customer of the same id: both customers' id and name, and Yes, Yes to
// all, No or Cancel.
#pragma once

#include "frame/single_form.h"
#include "records/same_item_dialog.h"

class frmSameCustomInfor : public SingleForm<frmSameCustomInfor, SameItemDialog> {
  Q_OBJECT
 public:
  // Fills the boxes: the customer at the destination and the one copied.
  void showCustomers(const DataShowCustom& existing, const DataShowCustom& copied);

  QLineEdit* txtOldId = nullptr;
  QLineEdit* txtOldName = nullptr;
  QLineEdit* txtNewId = nullptr;
  QLineEdit* txtNewName = nullptr;

 protected:
  frmSameCustomInfor();
};

// The question of the data transfer when the destination already holds a
// recorded file of the same name for the same customer: both files' customer,
// map, system, start and size, and Yes, Yes to all, No or Cancel.
#pragma once

#include "frame/single_form.h"
#include "records/same_item_dialog.h"

class frmSameData : public SingleForm<frmSameData, SameItemDialog> {
  Q_OBJECT
 public:
  // Fills the boxes: the file at the destination and the one copied.
  void showFiles(const CatalogueRow& existing, const CatalogueRow& copied);

  QLineEdit* txtOldId = nullptr;
  QLineEdit* txtOldName = nullptr;
  QLineEdit* txtOldMap = nullptr;
  QLineEdit* txtOldSystemNo = nullptr;
  QLineEdit* txtOldRecodeStartTime = nullptr;
  QLineEdit* txtOldFileSize = nullptr;
  QLineEdit* txtNewId = nullptr;
  QLineEdit* txtNewName = nullptr;
  QLineEdit* txtNewMap = nullptr;
  QLineEdit* txtNewSystemNo = nullptr;
  QLineEdit* txtNewRecodeStartTime = nullptr;
  QLineEdit* txtNewFileSize = nullptr;

 protected:
  frmSameData();
};

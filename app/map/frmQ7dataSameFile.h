// The question before a bus-data recording when bus logs of an earlier one
// stand in the bus-log folder: Yes removes them and starts the recording,
// No starts nothing.
#pragma once

#include "frame/dialogs/yes_no_dialog.h"
#include "frame/single_form.h"

class frmQ7dataSameFile : public SingleForm<frmQ7dataSameFile, YesNoDialog> {
  Q_OBJECT
 public:
  QLabel* lbl1 = nullptr;
  QLabel* lbl2 = nullptr;

 protected:
  frmQ7dataSameFile();
};

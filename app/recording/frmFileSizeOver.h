// The question asked before a recording stopped by time starts when its
// expected file is larger than the free space of the program folder's disk:
// Yes starts the recording all the same, No starts nothing.
#pragma once

#include "frame/dialogs/yes_no_dialog.h"
#include "frame/single_form.h"

#include <cstdint>

class frmFileSizeOver : public SingleForm<frmFileSizeOver, YesNoDialog> {
  Q_OBJECT
 public:
  // Which recording Yes starts: kPeriodicRecording (frmMap.startRecode) or
  // kTriggerRecording (frmMap.startRecodeTrigger); any other value only
  // closes.
  int32_t idCalledFrom = 0;
  static constexpr int32_t kPeriodicRecording = 0;
  static constexpr int32_t kTriggerRecording = 1;

  // Shows the question modal over the main window about the current map.
  // Yes starts the recording only while that map is still open: in the
  // pause before the start, a scan may have replaced the map or closed it.
  int ask();

  QLabel* lbl1 = nullptr;
  QLabel* lbl2 = nullptr;

 protected:
  frmFileSizeOver();
};

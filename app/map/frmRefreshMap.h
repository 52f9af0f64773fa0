// The question before a rescan: the shown map is thrown away and built
// afresh from the bus (its units' customer-record data kept), and the units
// stop for some minutes while gathering restarts. Yes runs the caller's
// rescan; No only closes the question.
#pragma once

#include "frame/dialogs/yes_no_dialog.h"
#include "frame/single_form.h"

class frmRefreshMap : public SingleForm<frmRefreshMap, YesNoDialog> {
  Q_OBJECT
 protected:
  frmRefreshMap();
};

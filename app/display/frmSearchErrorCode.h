// The error-code search of a replay: the first record, from the top of the
// file or after the cursor, where an error-code item of one unit holds an
// error (its value 1 or more). The display window's search key (F7) on an
// error-code row opens it.
#pragma once

#include "display/data_search_form.h"
#include "frame/single_form.h"

class QLabel;

class frmSearchErrorCode : public SingleForm<frmSearchErrorCode, DataSearchForm> {
  Q_OBJECT
 public:
  QLabel* lblErrorCode = nullptr;

 protected:
  frmSearchErrorCode();
  void onLoad() override;
  QString captionText() const override;
  SearchCondition condition(const frmDataShow& parent) const override;
};

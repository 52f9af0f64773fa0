// The analog value search of a replay: the first record, from the top of
// the file or after the cursor, where one analog item of one unit is at or
// above a lower limit, at or below an upper limit, or at the item's maximum
// or minimum over the file. The display window's search key (F7) on an
// analog row opens it; what the engineer chose and the minimum and maximum,
// once known, are kept on the display window for the next opening.
#pragma once

#include "display/data_search_form.h"
#include "frame/single_form.h"

#include <array>
#include <optional>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;

// A limit as the engineer typed it: a number (blanks around it allowed) in
// single precision, else none.
std::optional<float> searchLimitOf(const QString& text);

class frmSearchAnalog : public SingleForm<frmSearchAnalog, DataSearchForm> {
  Q_OBJECT
 public:
  // 0 at or above txtUpValue, 1 at or below txtDownValue, 2 the maximum,
  // 3 the minimum.
  std::array<QRadioButton*, 4> optAnalog{};
  QLineEdit* txtUpValue = nullptr;
  QLabel* lblLimitUp = nullptr;
  QLineEdit* txtDownValue = nullptr;
  QLabel* lblLimitDown = nullptr;

 protected:
  frmSearchAnalog();
  void onLoad() override;
  bool event(QEvent* event) override;
  QString captionText() const override;
  bool inputAccepted() override;
  void storeSettings(frmDataShow& parent) override;
  bool wantsMinMax(const frmDataShow& parent) const override;
  SearchCondition condition(const frmDataShow& parent) const override;

 private:
  int chosenOption() const;

  QButtonGroup* options_ = nullptr;
};

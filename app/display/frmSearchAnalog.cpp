#include "display/frmSearchAnalog.h"

#include "display/frmDataShow.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/main_window.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"

#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <limits>

namespace {

constexpr int kCaptionText = 270;
constexpr int kStatusText = 398;
constexpr int kNotNumericText = 467;

enum Option { kAtOrAbove = 0, kAtOrBelow = 1, kMaximum = 2, kMinimum = 3 };

constexpr int kOptionLeft = 240;
constexpr int kOptionSize = 255;
constexpr int kBoxLeft = 600;
constexpr int kBoxWidth = 1200;
constexpr int kBoxHeight = 330;
constexpr int kLabelLeft = 1900;
constexpr int kLabelWidth = 700;
constexpr int kWideOption = 2400;

}  // namespace

std::optional<float> searchLimitOf(const QString& text) {
  QLocale plain = QLocale::c();
  plain.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = plain.toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(value);
}

frmSearchAnalog::frmSearchAnalog() {
  options_ = new QButtonGroup(this);
  const int tops[] = {240, 660, 1080, 1440};
  for (int i = 0; i < 4; ++i) {
    const bool wide = i >= kMaximum;
    optAnalog[i] = placeControl<QRadioButton>(this, {kOptionLeft, tops[i], wide ? kWideOption : kOptionSize, kOptionSize});
    options_->addButton(optAnalog[i], i);
  }
  optAnalog[kMaximum]->setText(QStringLiteral(" Maximum value"));
  optAnalog[kMinimum]->setText(QStringLiteral(" Minimum value"));
  txtUpValue = placeControl<QLineEdit>(this, {kBoxLeft, tops[0] - 40, kBoxWidth, kBoxHeight});
  lblLimitUp = placeControl<QLabel>(this, {kLabelLeft, tops[0], kLabelWidth, kOptionSize}, QStringLiteral("min."));
  txtDownValue = placeControl<QLineEdit>(this, {kBoxLeft, tops[1] - 40, kBoxWidth, kBoxHeight});
  lblLimitDown = placeControl<QLabel>(this, {kLabelLeft, tops[1], kLabelWidth, kOptionSize}, QStringLiteral("max."));
  setTabOrder(optAnalog[0], txtUpValue);
}

void frmSearchAnalog::onLoad() {
  DataSearchForm::onLoad();
  applyTableCaptions(*this, kCaptionText,
                     {{optAnalog[kMaximum], 273}, {optAnalog[kMinimum], 274}, {lblLimitUp, 271}, {lblLimitDown, 272},
                      {cmdSearchFirst, 275}, {cmdSearchNext, 276}, {cmdCancel, 17}});
  useAppFont({lblLimitUp, lblLimitDown, optAnalog[kMaximum], optAnalog[kMinimum]});
  setWindowTitle(captionText() + QLatin1Char('(') + dataItemName + QLatin1Char(')'));
  const frmDataShow* parent = parentForm.data();
  const int chosen = parent ? parent->searchIndex : kAtOrAbove;
  if (QAbstractButton* option = options_->button(chosen)) option->setChecked(true);
  txtUpValue->setText(parent ? QString::number(double(parent->searchUpValue), 'g', 7) : QString());
  txtDownValue->setText(parent ? QString::number(double(parent->searchDownValue), 'g', 7) : QString());
}

bool frmSearchAnalog::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) setMainStatusText(tableText(kStatusText));
  return DataSearchForm::event(event);
}

QString frmSearchAnalog::captionText() const { return tableText(kCaptionText); }

int frmSearchAnalog::chosenOption() const { return options_->checkedId(); }

bool frmSearchAnalog::inputAccepted() {
  QLineEdit* box = nullptr;
  if (chosenOption() == kAtOrAbove) box = txtUpValue;
  if (chosenOption() == kAtOrBelow) box = txtDownValue;
  if (!box || searchLimitOf(box->text())) return true;
  box->setFocus();
  showMessage(QStringLiteral("15-1"), QString(), tableText(kNotNumericText), QString());
  return false;
}

void frmSearchAnalog::storeSettings(frmDataShow& parent) {
  parent.searchIndex = chosenOption();
  parent.searchUpValue = searchLimitOf(txtUpValue->text()).value_or(0.0f);
  parent.searchDownValue = searchLimitOf(txtDownValue->text()).value_or(0.0f);
}

bool frmSearchAnalog::wantsMinMax(const frmDataShow& parent) const {
  const int option = chosenOption();
  return (option == kMaximum || option == kMinimum) && !parent.flagSearchMinMax;
}

SearchCondition frmSearchAnalog::condition(const frmDataShow& parent) const {
  switch (parent.searchIndex) {
    case kAtOrAbove: return {1, parent.searchUpValue};
    case kAtOrBelow: return {0, parent.searchDownValue};
    case kMaximum: return {1, parent.searchMaxValue};
    case kMinimum: return {0, parent.searchMinValue};
    default: return {0, 0.0f};
  }
}

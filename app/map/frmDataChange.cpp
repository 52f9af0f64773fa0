#include "map/frmDataChange.h"

#include "frame/common_routines.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/library/tramsoll_api.h"
#include "frame/number_box.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "frame/window_controls.h"
#include "map/control_data_change.h"
#include "map/frmDataChangeConfirm.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr int kTitleText = 495;
constexpr int kWrongInputText = 445;
constexpr int64_t kLargestNumber = 255;
constexpr int64_t kLargestValue = 65535;

QLabel* label(QWidget* parent, const char* caption, int left, int top) {
  auto* made = placeControl<QLabel>(parent, QRect(left, top, 0, 0), QString::fromLatin1(caption));
  made->adjustSize();
  return made;
}

QFrame* line(QWidget* parent, int top) {
  auto* made = placeControl<QFrame>(parent, QRect(120, top, 5400, 30));
  made->setFrameShape(QFrame::HLine);
  made->setFrameShadow(QFrame::Sunken);
  return made;
}

constexpr int kBoxLeft = 3000;
constexpr int kLabelGap = 120;

QLineEdit* box(QWidget* parent, int top) {
  auto* made = placeControl<QLineEdit>(parent, QRect(kBoxLeft, top, 1500, 300));
  made->setAttribute(Qt::WA_InputMethodEnabled, false);
  return made;
}

// The box's number, rounded, when it lies within 0..largest.
std::optional<int32_t> numberInRange(const QLineEdit& box, int64_t largest) {
  const std::optional<int64_t> number = parseBoxNumber(box.text(), Exponent::Allowed);
  if (!number || *number < 0 || *number > largest) return std::nullopt;
  return static_cast<int32_t>(*number);
}

}  // namespace

frmDataChange::frmDataChange() {
  setWindowTitle(QStringLiteral("Change Control parameter"));
  setCloseBox(CloseBox::None);
  lblGuide1 = label(this, "Change Control Parameter : zubrel address, No, Value", 240, 195);
  Line2 = line(this, 600);
  lblZubrelAddress = label(this, "Outdoor unit Zubrel Address", 720, 840);
  txtZubrelAddress = box(this, 840);
  // The address shown is the one the setting goes to: it is not edited.
  txtZubrelAddress->setReadOnly(true);
  lblSetNo = label(this, "Parameter No.", 720, 1320);
  txtSetNo = box(this, 1320);
  lblSetValue = label(this, "Value", 720, 1800);
  txtSetValue = box(this, 1800);
  Line1 = line(this, 2280);
  cmdDataChange = placeControl<QPushButton>(this, QRect(120, 2400, 1620, 375), QStringLiteral("Set (F1)"));
  cmdDataRequire = placeControl<QPushButton>(this, QRect(1920, 2400, 1620, 375), QStringLiteral("Refresh (F2)"));
  cmdCancel = placeControl<QPushButton>(this, QRect(3840, 2400, 1620, 375), QStringLiteral("Cancel (Esc)"));
  keys_.add(Qt::Key_F1, cmdDataChange, this, [this] { cmdDataChange_Click(); });
  keys_.add(Qt::Key_F2, cmdDataRequire, this, [this] { setSendDataE6(); });
  keys_.add(Qt::Key_Escape, cmdCancel, this, [this] { cancel(); });
  const std::array<QWidget*, 6> tabOrder{txtZubrelAddress, txtSetNo, txtSetValue, cmdDataChange, cmdDataRequire, cmdCancel};
  for (std::size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
  keys_.previewKeysOf(*this);
}

void frmDataChange::onLoad() {
  centreClientInMainWindowTwips(kClientWidth, kClientHeight);
  applyCaptionTexts();
  showDataChange();
  txtSetNo->setFocus();
}

void frmDataChange::applyCaptionTexts() {
  applyTableCaptions(*this, kTitleText,
                     {{lblGuide1, 496}, {lblZubrelAddress, 497}, {lblSetNo, 498}, {lblSetValue, 499},
                      {cmdDataChange, 500}, {cmdDataRequire, 501}, {cmdCancel, 17}});
  if (captionsFromTable()) {
    setFont(appFont());
    for (QLabel* each : {lblGuide1, lblZubrelAddress, lblSetNo, lblSetValue}) each->adjustSize();
  }
  placeBoxesBesideLabels();
}

// The boxes stand at their design place, or right of the widest label when
// its text (in this font, or translated) runs longer.
void frmDataChange::placeBoxesBesideLabels() {
  int left = twipsToPixels(kBoxLeft);
  for (const QLabel* each : {lblZubrelAddress, lblSetNo, lblSetValue}) {
    left = std::max(left, each->geometry().right() + twipsToPixels(kLabelGap));
  }
  for (QLineEdit* each : {txtZubrelAddress, txtSetNo, txtSetValue}) each->move(left, each->y());
}

void frmDataChange::showDataChange() {
  if (setNo < 0 || setNo > kLargestNumber) setNo = 0;
  if (setValue < 0 || setValue > kLargestValue) setValue = 0;
  txtZubrelAddress->setText(zeroPad3(zubrelAddressThisForm));
  txtSetNo->setText(QString::number(setNo));
  txtSetValue->setText(QString::number(setValue));
}

bool frmDataChange::checkDataChangeInput() {
  QLineEdit* wrong = nullptr;
  if (!numberInRange(*txtSetNo, kLargestNumber)) {
    wrong = txtSetNo;
  } else if (!numberInRange(*txtSetValue, kLargestValue)) {
    wrong = txtSetValue;
  }
  if (!wrong) return true;
  showMessage(QStringLiteral("8-1"), QString(), tableText(kWrongInputText), QString());
  wrong->setFocus();
  return false;
}

void frmDataChange::cmdDataChange_Click() {
  if (!checkDataChangeInput()) return;
  frmDataChangeConfirm::instance().askModal([this] { setSendDataE8(); });
}

void frmDataChange::setSendDataE8() {
  // The boxes were checked before the question; read as checked.
  setNo = numberInRange(*txtSetNo, kLargestNumber).value_or(0);
  setValue = numberInRange(*txtSetValue, kLargestValue).value_or(0);
  const int32_t ifMode = mapQ7netObj ? mapQ7netObj->ifMode : 0;
  if (controlDataSendAllowed(ifMode)) {
    tramsollApi().setAirconSendData(kControlDataSetting, zubrelAddressThisForm, setNo, setValue, 0);
  }
  showDataChange();
  emit settingSent();
}

void frmDataChange::setSendDataE6() {
  const int32_t ifMode = mapQ7netObj ? mapQ7netObj->ifMode : 0;
  if (controlDataSendAllowed(ifMode)) tramsollApi().setAirconSendData(kControlDataRequest, zubrelAddressThisForm, 0, 0, 0);
}

#include "records/frmCustom.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/dialogs/site_file_messages.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"
#include "frame/window_roads.h"
#include "map/frmMapsList.h"
#include "records/customer_folders.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kRowTop = 150;
constexpr int kRowStep = 345;
constexpr int kRowHeight = 300;
constexpr int kBoxLeft = 2160;
constexpr int kWideBox = 4580;
constexpr int kNarrowBox = 2000;

struct CustomerField {
  const char* label;
  int entry;
  QString CustomInfor::*member;
  int width;
};

const CustomerField kFields[] = {
    {"Customer ID", 79, &CustomInfor::id, kWideBox},  {"Customer name", 80, &CustomInfor::name, kWideBox},
    {"Section", 82, &CustomInfor::post, kWideBox},    {"Person in charge", 83, &CustomInfor::chargeMan, kWideBox},
    {"Address", 84, &CustomInfor::address, kWideBox}, {"Telephone", 85, &CustomInfor::telNumber, kNarrowBox},
    {"Fax", 86, &CustomInfor::faxNumber, kNarrowBox}, {"Remarks", 87, &CustomInfor::others, kWideBox},
};

}  // namespace

frmCustom::frmCustom() {
  setWindowTitle(QStringLiteral("Customer Data Input"));
  fraCustom = placeControl<QGroupBox>(this, QRect(60, 0, 2040, kRowTop + 8 * kRowStep));
  std::array<QLineEdit*, 8> boxes{};
  for (std::size_t i = 0; i < lbl.size(); ++i) {
    const int top = kRowTop + static_cast<int>(i) * kRowStep;
    lbl[i] = placeControl<QLabel>(fraCustom, QRect(120, top, 1800, kRowHeight), QString::fromLatin1(kFields[i].label));
    boxes[i] = placeControl<QLineEdit>(this, QRect(kBoxLeft, top, kFields[i].width, kRowHeight));
  }
  txtId = boxes[0];
  txtName = boxes[1];
  txtPost = boxes[2];
  txtChargeMan = boxes[3];
  txtAddress = boxes[4];
  txtTelNumber = boxes[5];
  txtFaxNumber = boxes[6];
  txtOthers = boxes[7];
  const int buttonTop = kRowTop + 8 * kRowStep + 150;
  cmdSave = placeControl<QPushButton>(this, QRect(3600, buttonTop, 1500, 495), QStringLiteral("Save (F1)"));
  cmdCancel = placeControl<QPushButton>(this, QRect(5240, buttonTop, 1500, 495), QStringLiteral("Cancel (Esc)"));
  keys_.add(Qt::Key_F1, cmdSave, this, &frmCustom::save);
  keys_.add(Qt::Key_Escape, cmdCancel, this, &frmCustom::cancel);
  keys_.previewKeysOf(*this);
  setFocusProxy(txtId);
  setCloseBox(CloseBox::RunsCancel);
}

std::array<QLineEdit*, 8> frmCustom::textBoxes() const {
  return {txtId, txtName, txtPost, txtChargeMan, txtAddress, txtTelNumber, txtFaxNumber, txtOthers};
}

void frmCustom::onLoad() {
  centreClientInMainWindowTwips(kWidth, kHeight);
  setCustomerEditorCaptions();
  for (QLineEdit* box : textBoxes()) box->clear();
  if (customMode == kEditCustomer) showCustomerFields();
  txtId->setFocus();
}

void frmCustom::onActivate() { setMainStatusText(tableText(383)); }

void frmCustom::setCustomerEditorCaptions() {
  for (QLineEdit* box : textBoxes()) box->setFont(appFont());
  applyTableCaptions(*this, 81,
                     {{lbl[0], kFields[0].entry},
                      {lbl[1], kFields[1].entry},
                      {lbl[2], kFields[2].entry},
                      {lbl[3], kFields[3].entry},
                      {lbl[4], kFields[4].entry},
                      {lbl[5], kFields[5].entry},
                      {lbl[6], kFields[6].entry},
                      {lbl[7], kFields[7].entry},
                      {cmdSave, 88},
                      {cmdCancel, 17}});
}

void frmCustom::showCustomerFields() {
  const CustomInfor& customer = currentCustomer();
  const std::array<QLineEdit*, 8> boxes = textBoxes();
  for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i]->setText(customer.*kFields[i].member);
}

void frmCustom::storeCustomerFields(const QString& id) {
  CustomInfor& customer = currentCustomer();
  const std::array<QLineEdit*, 8> boxes = textBoxes();
  for (std::size_t i = 1; i < boxes.size(); ++i) customer.*kFields[i].member = boxes[i]->text().trimmed();
  customer.id = id;
}

void frmCustom::refuseId(const QString& key, const QString& line1, const QString& line2) {
  showMessage(key, line1, line2, QString());
  txtId->setFocus();
}

// Every check comes before anything on the disk changes; a failed move or
// write keeps the window open with what was typed.
void frmCustom::save() {
  const QString newId = txtId->text().trimmed().toLower();
  // An id that cannot name a folder counts as no id.
  if (!isUsableCustomerId(newId)) return refuseId(QStringLiteral("3-1"), QString(), tableText(417));
  const QString oldId = currentCustomer().id;
  const bool idChanges = customMode == kEditCustomer && newId.compare(oldId, Qt::CaseInsensitive) != 0;
  if ((customMode == kNewCustomer || idChanges) && isCustomerIdTaken(newId)) {
    return refuseId(QStringLiteral("3-2"), tableText(418), tableText(419));
  }
  if (idChanges && !moveToNewId(oldId, newId)) return;
  storeCustomerFields(newId);
  if (const SiteFileResult saved = saveCustomerFile(); !saved) return showSaveFailure(saved);
  unload();
  goOnAfterSave();
}

bool frmCustom::moveToNewId(const QString& oldId, const QString& newId) {
  const CustomerMove moved = moveCustomer(oldId, newId);
  switch (moved.result) {
    case CustomerMove::Result::Clash:
      refuseId(QStringLiteral("3-2"), tableText(418), tableText(419));
      return false;
    case CustomerMove::Result::Failed:
      showFileFault(moved.outcome);
      return false;
    case CustomerMove::Result::Moved:
      // The old folder could not go: said, and the customer is saved anyway.
      if (!moved.outcome) showFileFault(moved.outcome);
      return true;
  }
  return false;
}

void frmCustom::goOnAfterSave() {
  switch (program().workMode) {
    case kWorkRecording: {
      frmMapsList& maps = frmMapsList::instance();
      maps.mapsListComeFrom = frmMapsList::kFromCustomerEditor;
      maps.showForm();
      break;
    }
    case kWorkCustomerRecords:
      takeWindowRoad(WindowRoad::CustomerList);
      break;
    default:
      break;
  }
}

void frmCustom::cancel() {
  unload();
  takeWindowRoad(WindowRoad::CustomerList);
}

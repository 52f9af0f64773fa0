#include "records/frmSs.h"

#include "frame/dialogs/site_file_messages.h"
#include "frame/main_window.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"
#include "records/contact_list.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kLabelLeft = 240;
constexpr int kLabelWidth = 1560;
constexpr int kBoxLeft = 1920;
constexpr int kBoxWidth = 4800;
constexpr int kRowTop = 240;
constexpr int kRowStep = 480;
constexpr int kRowHeight = 315;

QRect labelAt(int row) { return {kLabelLeft, kRowTop + row * kRowStep, kLabelWidth, kRowHeight}; }
QRect boxAt(int row, int width = kBoxWidth) { return {kBoxLeft, kRowTop + row * kRowStep, width, kRowHeight}; }

}  // namespace

frmSs::frmSs() {
  setWindowTitle(QStringLiteral("SS Data Input"));
  const int contactRow = 4;
  lblSsName = placeControl<QLabel>(this, labelAt(0), QStringLiteral("SS name"));
  txtSsName = placeControl<QLineEdit>(this, boxAt(0));
  lblSsAddress = placeControl<QLabel>(this, labelAt(1), QStringLiteral("SS address"));
  txtSsAddress = placeControl<QLineEdit>(this, boxAt(1));
  lblSsTel = placeControl<QLabel>(this, labelAt(2), QStringLiteral("SS tel. No."));
  txtSsTel = placeControl<QLineEdit>(this, boxAt(2));
  lblSsFax = placeControl<QLabel>(this, labelAt(3), QStringLiteral("SS fax No."));
  txtSsFax = placeControl<QLineEdit>(this, boxAt(3));
  lblSsChargeMan = placeControl<QLabel>(this, labelAt(contactRow), QStringLiteral("SS contact"));
  cboSsChargeMen = placeControl<QComboBox>(this, boxAt(contactRow, 2400));
  cboSsChargeMen->setEditable(true);
  // Names join the list through Add and Save only, never through Enter.
  cboSsChargeMen->setInsertPolicy(QComboBox::NoInsert);
  const int buttonTop = kRowTop + contactRow * kRowStep - 60;
  cmdAdd = placeControl<QPushButton>(this, QRect(4440, buttonTop, 1080, 435), QStringLiteral("Add (F5)"));
  cmdDelete = placeControl<QPushButton>(this, QRect(5640, buttonTop, 1080, 435), QStringLiteral("Delete (F6)"));
  cmdSave = placeControl<QPushButton>(this, QRect(3420, 3240, 1560, 495), QStringLiteral("Save (F1)"));
  cmdCancel = placeControl<QPushButton>(this, QRect(5160, 3240, 1560, 495), QStringLiteral("Cancel (Esc)"));

  keys_.add(Qt::Key_F1, cmdSave, this, &frmSs::save);
  keys_.add(Qt::Key_F5, cmdAdd, this, &frmSs::add);
  keys_.add(Qt::Key_F6, cmdDelete, this, &frmSs::remove);
  keys_.add(Qt::Key_Escape, cmdCancel, this, &frmSs::cancel);
  keys_.previewKeysOf(*this);
  setFocusProxy(txtSsName);
}

void frmSs::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  setStationEditorCaptions();
  showStationFields();
  txtSsName->setFocus();
}

void frmSs::onActivate() { setMainStatusText(tableText(402)); }

void frmSs::setStationEditorCaptions() {
  useAppFont({txtSsName, txtSsAddress, txtSsTel, txtSsFax, cboSsChargeMen});
  applyTableCaptions(*this, 310,
                     {{lblSsName, 311},
                      {lblSsAddress, 312},
                      {lblSsTel, 313},
                      {lblSsFax, 314},
                      {lblSsChargeMan, 315},
                      {cmdAdd, 316},
                      {cmdDelete, 317},
                      {cmdSave, 318},
                      {cmdCancel, 17}});
}

void frmSs::showStationFields() {
  const DataManageInfor& shop = serviceShop();
  txtSsName->setText(shop.ssName);
  txtSsAddress->setText(shop.ssAddress);
  txtSsTel->setText(shop.ssTel);
  txtSsFax->setText(shop.ssFax);
  showContacts(*cboSsChargeMen, shop);
}

// Names are compared exactly here: "Ito" and "ito" are two contacts.
void frmSs::add() {
  const QString name = cboSsChargeMen->currentText().trimmed();
  if (name.isEmpty()) return;
  if (contactsOf(*cboSsChargeMen).contains(name)) {
    setMainStatusText(name + tableText(403));
    return;
  }
  cboSsChargeMen->addItem(name);
  cboSsChargeMen->setEditText(QString());
}

void frmSs::remove() {
  const QString name = cboSsChargeMen->currentText().trimmed();
  if (name.isEmpty()) return;
  const int found = static_cast<int>(contactsOf(*cboSsChargeMen).indexOf(name));
  if (found < 0) {
    setMainStatusText(name + tableText(404));
    return;
  }
  cboSsChargeMen->removeItem(found);
  cboSsChargeMen->setEditText(QString());
}

void frmSs::storeStationFields() {
  DataManageInfor& shop = serviceShop();
  shop.ssName = txtSsName->text().trimmed();
  shop.ssAddress = txtSsAddress->text().trimmed();
  shop.ssTel = txtSsTel->text().trimmed();
  shop.ssFax = txtSsFax->text().trimmed();
  setContactNames(
      shop, contactsWithChosenLast(contactsOf(*cboSsChargeMen), cboSsChargeMen->currentText(), Qt::CaseSensitive));
}

// A station file that cannot be written is reported; the record keeps what
// the file holds and the window stays open with what was typed.
void frmSs::save() {
  const DataManageInfor before = serviceShop();
  storeStationFields();
  if (const SiteFileResult saved = saveServiceStationFile(); !saved) {
    serviceShop() = before;
    showSaveFailure(saved);
    return;
  }
  unload();
  showMainMenuAgain();
}

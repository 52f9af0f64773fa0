#include "records/frmCustomsList.h"

#include "frame/dialogs/ask_yes_no.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/dialogs/site_file_messages.h"
#include "frame/grid.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/site/paths.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"
#include "map/frmInterface.h"
#include "map/frmMapsList.h"
#include "records/contact_list.h"
#include "records/customer_folders.h"
#include "records/data_show_catalogue.h"
#include "records/frmCustom.h"
#include "records/frmCustomsData.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

constexpr int kButtonLeft = 5160;
constexpr int kButtonWidth = 1995;
constexpr int kButtonHeight = 495;

QRect buttonAt(int top) { return {kButtonLeft, top, kButtonWidth, kButtonHeight}; }

}  // namespace

frmCustomsList::frmCustomsList() {
  setWindowTitle(QStringLiteral("Customer Selection"));
  lblCustom = placeControl<QLabel>(this, QRect(120, 120, 3000, 255), QStringLiteral("1. Customer selection"));
  grdList = placeControl<QTableWidget>(this, QRect(120, 420, 4920, 3480));
  lblSsChargeMan = placeControl<QLabel>(this, QRect(120, 4020, 3000, 255), QStringLiteral("2. SS contact selection"));
  cboSsChargeMen = placeControl<QComboBox>(this, QRect(120, 4320, 3000, 315));
  cboSsChargeMen->setEditable(true);
  cboSsChargeMen->setInsertPolicy(QComboBox::NoInsert);
  cmdFix = placeControl<QPushButton>(this, buttonAt(420), QStringLiteral("Select customer (F2)"));
  cmdNew = placeControl<QPushButton>(this, buttonAt(1020), QStringLiteral("New customer (F3)"));
  cmdEdit = placeControl<QPushButton>(this, buttonAt(1620), QStringLiteral("Edit cust. data (F4)"));
  cmdDelete = placeControl<QPushButton>(this, buttonAt(2220), QStringLiteral("Delete customer (F9)"));
  cmdRecodeOnly = placeControl<QPushButton>(this, buttonAt(2820), QStringLiteral("Record only (F1)"));
  lblRecodeOnly =
      placeControl<QLabel>(this, QRect(kButtonLeft, 3345, kButtonWidth, 255), QStringLiteral("(No data control)"));
  lblRecodeOnly->setAlignment(Qt::AlignCenter);
  cmdCancel = placeControl<QPushButton>(this, buttonAt(4260), QStringLiteral("Cancel (Esc)"));

  Grid grid(*grdList);
  grid.selectWholeRows(Grid::RowSelection::Range);
  connect(grdList, &QTableWidget::cellDoubleClicked, this, [this] {
    if (cmdFix->isEnabled()) cmdFix->click();
  });
  keys_.add(Qt::Key_F1, cmdRecodeOnly, this, &frmCustomsList::recordOnly);
  keys_.add(Qt::Key_F2, cmdFix, this, &frmCustomsList::selectCustomer);
  keys_.add(Qt::Key_F3, cmdNew, this, &frmCustomsList::newCustomer);
  keys_.add(Qt::Key_F4, cmdEdit, this, &frmCustomsList::editCustomer);
  keys_.add(Qt::Key_F9, cmdDelete, this, &frmCustomsList::askDeleteCustomer);
  keys_.add(Qt::Key_Escape, cmdCancel, this, &frmCustomsList::cancel);
  keys_.previewKeysOf(*this);
  setFocusProxy(grdList);
}

std::array<QPushButton*, 6> frmCustomsList::buttons() const {
  return {cmdRecodeOnly, cmdFix, cmdNew, cmdEdit, cmdDelete, cmdCancel};
}

void frmCustomsList::onLoad() {
  centreClientInMainWindowTwips(kWidth, kHeight);
  setCustomerListCaptions();
  const int32_t work = program().workMode;
  if (work == kWorkRecording || work == kWorkCustomerRecords) {
    cmdRecodeOnly->setEnabled(work == kWorkRecording);
    lblRecodeOnly->setEnabled(work == kWorkRecording);
  }
  buildCustomerList();
  fillCustomerGrid();
  fillContactCombo();
  // Each road starts from an empty customer unless it loads one.
  clearCustomerInfo();
  grdList->setFocus();
}

void frmCustomsList::onActivate() { setMainStatusText(tableText(382)); }

void frmCustomsList::onCancel() {
  noteSelectedRow();
  releaseCustomerList();
  program().workMode = kWorkFree;
}

void frmCustomsList::setCustomerListCaptions() {
  useAppFont({grdList, cboSsChargeMen});
  applyTableCaptions(*this, 70,
                     {{lblCustom, 71},
                      {lblSsChargeMan, 72},
                      {lblRecodeOnly, 74},
                      {cmdCancel, 17},
                      {cmdFix, 75},
                      {cmdNew, 76},
                      {cmdEdit, 77},
                      {cmdDelete, 78},
                      {cmdRecodeOnly, 73}});
}

// ---- The list ----

void frmCustomsList::buildCustomerList() {
  // A customer file that cannot be read gives its row an empty name.
  customerList = makeCustomerList(programFolder(), FolderEnding::None).catalogue;
  grdList->setRowCount(customerCount());
}

void frmCustomsList::releaseCustomerList() {
  if (customerList) clearDataShowList(*customerList);
  customerList.reset();
}

int frmCustomsList::customerCount() const { return customerList ? customerList->dataShowCustoms.count() : 0; }

void frmCustomsList::setCustomerGridHeadings() {
  Grid grid(*grdList);
  grid.setColumnWidthsTwips({0, 1420, 3400});
  grid.setHeadings({QString(), tableText(79), tableText(80)});
}

// Grid row r (from 1) is the table's row r - 1 under the heading row.
void frmCustomsList::fillCustomerGrid() {
  grdList->setUpdatesEnabled(false);
  setCustomerGridHeadings();
  Grid grid(*grdList);
  const int count = customerCount();
  for (int number = 1; number <= count; ++number) {
    const auto custom = customerList->dataShowCustoms.item(QString::number(number));
    if (!custom) continue;
    grid.setText(number - 1, 1, custom->customId);
    grid.setText(number - 1, 2, custom->customName);
  }
  if (count > 0) {
    selectedRow = rowToSelect(selectedRow, count + 1);
    grid.selectRow(selectedRow - 1);
  } else {
    grdList->clearSelection();
  }
  for (QPushButton* button : {cmdFix, cmdEdit, cmdDelete}) button->setEnabled(count > 0);
  grdList->setUpdatesEnabled(true);
}

// ---- Contacts ----

void frmCustomsList::fillContactCombo() { showContacts(*cboSsChargeMen, serviceShop()); }

// The chosen contact goes last, to be offered first next time; names are
// matched ignoring case here. A station file that cannot be written is
// reported and the road goes on.
void frmCustomsList::saveContactChoice() {
  const QString chosen = cboSsChargeMen->currentText().trimmed();
  if (chosen.isEmpty()) return;
  setContactNames(serviceShop(), contactsWithChosenLast(contactsOf(*cboSsChargeMen), chosen, Qt::CaseInsensitive));
  if (const SiteFileResult saved = saveServiceStationFile(); !saved) showSaveFailure(saved);
}

// ---- Roads ----

bool frmCustomsList::isSingleRowSelected() const { return Grid(*grdList).oneRowSelected(); }

QString frmCustomsList::selectedCustomerId() const {
  const int row = grdList->currentRow();
  if (row < 0 || row >= customerCount()) return QString();
  return Grid(*grdList).text(row, 1);
}

void frmCustomsList::noteSelectedRow() { selectedRow = grdList->currentRow() + 1; }

// False (message "2-1") when more than one row is selected.
bool frmCustomsList::takeSingleRow() {
  if (!isSingleRowSelected()) {
    showMessage(QStringLiteral("2-1"), QString(), tableText(416), QString());
    grdList->setFocus();
    return false;
  }
  noteSelectedRow();
  return true;
}

// An unreadable customer file is told and the list stays open, the current
// customer blank.
bool frmCustomsList::loadSelectedCustomer() {
  const SiteFileResult loaded = loadCustomerFile(selectedCustomerId());
  if (!loaded) showSiteFileWarning(loaded);
  return bool(loaded);
}

void frmCustomsList::leaveForWork() {
  releaseCustomerList();
  unload();
}

void frmCustomsList::recordOnly() {
  noteSelectedRow();
  saveContactChoice();
  leaveForWork();
  frmInterface& access = frmInterface::instance();
  access.interfaceMode = frmInterface::kRecordOnly;
  access.interfaceMapNameMode = frmInterface::kNewMap;
  access.showForm();
}

void frmCustomsList::selectCustomer() {
  if (!takeSingleRow() || !loadSelectedCustomer()) return;
  saveContactChoice();
  leaveForWork();
  frmInterface::instance().interfaceMode = frmInterface::kForCustomer;
  frmMapsList& maps = frmMapsList::instance();
  maps.mapsListComeFrom = frmMapsList::kFromCustomerList;
  maps.showForm();
}

void frmCustomsList::newCustomer() {
  noteSelectedRow();
  saveContactChoice();
  openEditor(frmCustom::kNewCustomer);
}

void frmCustomsList::editCustomer() {
  if (!takeSingleRow() || !loadSelectedCustomer()) return;
  saveContactChoice();
  openEditor(frmCustom::kEditCustomer);
}

void frmCustomsList::openEditor(int32_t customMode) {
  leaveForWork();
  frmInterface::instance().interfaceMode = frmInterface::kForCustomer;
  frmCustom& editor = frmCustom::instance();
  editor.customMode = customMode;
  editor.showForm();
}

void frmCustomsList::askDeleteCustomer() {
  if (!takeSingleRow()) return;
  if (askYesNoFromTexts(329, 1) == kAnswerYes) deleteCustom();
}

// ---- Deletion ----

void frmCustomsList::disableButtonsForWork() {
  setCursor(Qt::WaitCursor);
  const std::array<QPushButton*, 6> all = buttons();
  for (std::size_t i = 0; i < all.size(); ++i) {
    buttonsEnabled_[i] = all[i]->isEnabled();
    all[i]->setEnabled(false);
  }
}

void frmCustomsList::restoreButtonsAfterWork() {
  const std::array<QPushButton*, 6> all = buttons();
  for (std::size_t i = 0; i < all.size(); ++i) all[i]->setEnabled(buttonsEnabled_[i]);
  if (customerCount() == 0) {
    for (QPushButton* button : {cmdFix, cmdEdit, cmdDelete}) button->setEnabled(false);
  }
  unsetCursor();
}

// A file that cannot be deleted is passed over and the rest goes on; the
// first failure is told once the list shows what is left.
void frmCustomsList::deleteCustom() {
  disableButtonsForWork();
  QApplication::processEvents();
  // The recorded-data window and its replay windows start closing; a file
  // they still hold fails to go and is told.
  if (program().customsDataOpen) frmCustomsData::instance().prepareForEndFormCustomsData();
  const QString id = selectedCustomerId();
  const FileOutcome deleted = id.isEmpty() ? FileOutcome{} : deleteCustomerFiles(id);
  releaseCustomerList();
  buildCustomerList();
  fillCustomerGrid();
  restoreButtonsAfterWork();
  if (!deleted) showFileFault(deleted);
}

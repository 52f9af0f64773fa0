#include "records/frmInforInput.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalBlocker>

#include "frame/common_routines.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/library/tramsoll_client.h"
#include "frame/main_window.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"
#include "map/unit_information_map.h"
#include "frame/map_title.h"
#include "types/map_tree.h"
#include "records/frmInforList.h"

namespace {

constexpr int kTitleText = 194;
constexpr int kSystemText = 6;
constexpr int kStatusText = 390;
constexpr int kSavedText = 391;

constexpr int kLabelLeft = 120;
constexpr int kFieldLabelLeft = 360;
constexpr int kFieldLeft = 2760;
constexpr int kFieldWidth = 2000;
constexpr int kFieldHeight = 300;
constexpr int kFirstFieldTop = 1080;
constexpr int kFieldStep = 360;
constexpr int kButtonTop = 3360;
constexpr int kButtonWidth = 1700;
constexpr int kButtonHeight = 495;

MapQ7net* shownMap() { return unitInformationShownMap(); }

QRect fieldAt(int row) { return {kFieldLeft, kFirstFieldTop + row * kFieldStep, kFieldWidth, kFieldHeight}; }
QRect fieldLabelAt(int row) {
  return {kFieldLabelLeft, kFirstFieldTop + row * kFieldStep, kFieldLeft - kFieldLabelLeft - 120, kFieldHeight};
}
// A window left open behind the one that closes takes the focus again.
void showAgainIfOpen(ChildForm& window) {
  if (window.isLoaded() && window.subWindow() && window.subWindow()->isVisible()) window.showForm();
}

QRect buttonAt(int column) {
  return {kLabelLeft + column * (kButtonWidth + 120), kButtonTop, kButtonWidth, kButtonHeight};
}

}  // namespace

frmInforInput::frmInforInput() {
  setWindowTitle(QStringLiteral("Detail Data Input"));
  lbl[0] = placeControl<QLabel>(this, QRect(kLabelLeft, 240, kFieldLeft - 240, kFieldHeight),
                                QStringLiteral("1. Airconditioner selection"));
  cboAirconNumber = placeControl<QComboBox>(this, QRect(kFieldLeft, 240, kFieldWidth, kFieldHeight));
  lbl[1] = placeControl<QLabel>(this, QRect(kLabelLeft, 720, kFieldLeft - 240, kFieldHeight),
                                QStringLiteral("2. Detail data input"));
  const char* const fieldLabels[] = {"Install site (name)", "Model No.",    "Model name",
                                     "Centralized address", "Auto address", "Zubrel address"};
  for (int row = 0; row < 6; ++row) {
    lbl[static_cast<std::size_t>(row) + 2] =
        placeControl<QLabel>(this, fieldLabelAt(row), QString::fromLatin1(fieldLabels[row]));
  }
  txtPlace = placeControl<QLineEdit>(this, fieldAt(0));
  txtSerialNumber = placeControl<QLineEdit>(this, fieldAt(1));
  cboKind = placeControl<QComboBox>(this, fieldAt(2));
  cboKind->setEditable(true);
  // A typed model name stays a text; the candidates come from the library.
  cboKind->setInsertPolicy(QComboBox::NoInsert);
  txtControlAddress = placeControl<QLineEdit>(this, fieldAt(3));
  // The bus addresses are shown for reference and never saved.
  txtAutoAddress = placeControl<QLineEdit>(this, fieldAt(4));
  txtAutoAddress->setReadOnly(true);
  txtZubrelAddress = placeControl<QLineEdit>(this, fieldAt(5));
  txtZubrelAddress->setReadOnly(true);
  cmdSave = placeControl<QPushButton>(this, buttonAt(0), QStringLiteral("Save (F1)"));
  cmdShowList = placeControl<QPushButton>(this, buttonAt(1), QStringLiteral("List display (F2)"));
  cmdCancel = placeControl<QPushButton>(this, buttonAt(2), QStringLiteral("Cancel (Esc)"));

  connect(cboAirconNumber, &QComboBox::currentIndexChanged, this, &frmInforInput::selectUnit);
  keys_.add(Qt::Key_F1, cmdSave, this, &frmInforInput::saveData);
  keys_.add(Qt::Key_F2, cmdShowList, this, &frmInforInput::showList);
  keys_.add(Qt::Key_Escape, cmdCancel, this, [this] { cancel(); });
  keys_.previewKeysOf(*this);
  setFocusProxy(cboAirconNumber);
}

void frmInforInput::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  flagInforListExist = false;
  fillUnitList();
  setControlCaptions();
  // After the table's captions, which name the window without its map.
  setFormCaption();
  cboAirconNumber->setFocus();
}

void frmInforInput::onUnload() {
  frmInforList::instance().unload();
  // The map's units belong to the map window.
  selectedUnit_.reset();
  if (UnitInformationMap* map = unitInformationMap()) showAgainIfOpen(map->mapWindow());
}

void frmInforInput::listClosed() {
  flagInforListExist = false;
  showAgainIfOpen(*this);
}

void frmInforInput::onActivate() { setMainStatusText(tableText(kStatusText)); }

// ---- The units of the system ----

void frmInforInput::fillUnitList() {
  const MapShowManager& place = unitInformationShownPlace();
  selectedSystem_ = chosenUnitSystem(place.systemKindNow, place.systemNumberNow, place.systemCenNow);
  systemModelText_.clear();
  {
    const QSignalBlocker quiet(cboAirconNumber);
    cboAirconNumber->clear();
  }
  // A window opened on another map or system starts without a unit.
  selectUnit(-1);
  const MapQ7net* map = shownMap();
  const auto system = map ? findUnitSystem(*map, selectedSystem_) : nullptr;
  if (!system) return;
  systemModelText_ = systemModelText(*system, selectedSystem_.central);
  const QStringList entries = unitEntries(*system, selectedSystem_.central);
  if (entries.isEmpty()) return;
  const int entry = selectedSystem_.central ? 0
                                            : entryOfDisplayedUnit(static_cast<int>(entries.size()),
                                                                   place.systemPageNumberNow, place.airconNumberNow);
  const QSignalBlocker quiet(cboAirconNumber);
  cboAirconNumber->addItems(entries);
  cboAirconNumber->setCurrentIndex(entry);
  selectUnit(entry);
}

// Every choice reads the unit and its record afresh: what was typed and not
// saved goes. A unit whose record is missing shows empty fields and reads
// record 0, so that Save writes no other unit's record.
void frmInforInput::selectUnit(int entry) {
  clearDetailFields();
  selectedUnit_.reset();
  linkNoShown_ = 0;
  linkNoInforList = 0;
  const MapQ7net* map = shownMap();
  const auto system = map ? findUnitSystem(*map, selectedSystem_) : nullptr;
  if (!system || entry < 0) return;
  selectedUnit_ = unitOfEntry(*system, selectedSystem_.central, entry + 1);
  if (!selectedUnit_) return;
  if (const auto record = findLink(*map, selectedUnit_->linkNoNow)) {
    showRecord(*record);
    linkNoShown_ = linkNoInforList = record->linkNo;
    if (flagInforListExist) showListOn(linkNoShown_, false);
  }
  if (!selectedUnit_->generalKind.isEmpty()) addModelCandidates(selectedUnit_->generalKind);
  txtAutoAddress->setText(zeroPad3(selectedUnit_->autoAddress));
  txtZubrelAddress->setText(zeroPad3(selectedUnit_->zubrelAddress));
}

void frmInforInput::clearDetailFields() {
  for (QLineEdit* field : {txtPlace, txtSerialNumber, txtControlAddress, txtAutoAddress, txtZubrelAddress}) {
    field->clear();
  }
  cboKind->clear();
  cboKind->setEditText(QString());
}

void frmInforInput::showRecord(const LinkAircon& record) {
  txtPlace->setText(record.place);
  txtSerialNumber->setText(record.serialNumber);
  cboKind->setEditText(record.kind);
  txtControlAddress->setText(unitAddressToText(record.controlAddress));
}

// The candidates join the drop-down list; the model name shown stays.
void frmInforInput::addModelCandidates(const QString& modelText) {
  const QStringList names = TramsollClient().modelCandidates(modelText).names;
  const QString shown = cboKind->currentText();
  const QSignalBlocker quiet(cboKind);
  cboKind->addItems(names);
  cboKind->setCurrentIndex(-1);
  cboKind->setEditText(shown);
}

// ---- Save ----

void frmInforInput::saveData() {
  if (!isValidControlAddress(txtControlAddress->text())) {
    showMessage(QStringLiteral("10-1"), tableText(448), tableText(449), QString());
    txtControlAddress->setFocus();
    return;
  }
  MapQ7net* map = shownMap();
  if (!map || !selectedUnit_) return;
  const int entry = cboAirconNumber->currentIndex();
  const auto system = findUnitSystem(*map, selectedSystem_);
  // A rescan that rebuilt the system made new units, and the record numbers
  // may have gone to others: the unit is shown afresh and nothing is written.
  if (!system || unitOfEntry(*system, selectedSystem_.central, entry + 1) != selectedUnit_) {
    selectUnit(entry);
    return;
  }
  if (linkNoShown_ != linkNoInforList) {
    // A unit without a record is not given one that another unit holds.
    if (!giveLinkToUnit(*map, *selectedUnit_, linkNoInforList)) {
      selectUnit(entry);
      return;
    }
    linkNoShown_ = linkNoInforList;
  }
  if (const auto record = findLink(*map, linkNoInforList)) {
    record->place = txtPlace->text().trimmed();
    record->serialNumber = txtSerialNumber->text().trimmed();
    record->kind = cboKind->currentText().trimmed();
    record->controlAddress = unitAddressFromText(txtControlAddress->text());
  }
  if (flagInforListExist) showListOn(linkNoShown_, true);
  if (UnitInformationMap* map = unitInformationMap()) map->redrawMap();
  cboAirconNumber->setFocus();
  setMainStatusText(tableText(kSavedText));
}

// ---- The list ----

void frmInforInput::showList() {
  frmInforList& list = frmInforList::instance();
  connect(&list, &frmInforList::recordCopied, this, &frmInforInput::copyFromList, Qt::UniqueConnection);
  connect(&list, &frmInforList::closed, this, &frmInforInput::listClosed, Qt::UniqueConnection);
  list.setSelectDataRowFromLinkNo(linkNoShown_);
  list.showForm();
  list.selectDataFromList();
  flagInforListExist = true;
}

void frmInforInput::showListOn(int32_t linkNo, bool refill) {
  frmInforList& list = frmInforList::instance();
  list.setSelectDataRowFromLinkNo(linkNo);
  refill ? list.showInforList() : list.selectDataFromList();
}

// The list's Copy: the record's data replace the fields, and Save gives the
// record to the unit.
void frmInforInput::copyFromList(int32_t linkNo) {
  const MapQ7net* map = shownMap();
  const auto record = map ? findLink(*map, linkNo) : nullptr;
  if (!record) return;
  linkNoInforList = linkNo;
  showRecord(*record);
  saveData();
}

// ---- Captions ----

void frmInforInput::setFormCaption() {
  const MapQ7net* map = shownMap();
  if (!map) return;
  // Central systems are numbered after the ordinary ones.
  const int32_t number =
      selectedSystem_.central ? map->systems.count() + selectedSystem_.systemNumber : selectedSystem_.systemNumber;
  const QString system = tableText(kSystemText) + QLatin1Char(' ') + QString::number(number) + QLatin1Char(',');
  setWindowTitle(mapWindowTitle(tableText(kTitleText), *map, system + systemModelText_));
}

void frmInforInput::setControlCaptions() {
  applyTableCaptions(*this, kTitleText,
                     {{lbl[0], 195},
                      {lbl[1], 196},
                      {lbl[2], 197},
                      {lbl[3], 198},
                      {lbl[4], 199},
                      {lbl[5], 200},
                      {lbl[6], 201},
                      {lbl[7], 202},
                      {cmdSave, 203},
                      {cmdShowList, 204},
                      {cmdCancel, 17}});
  useAppFont({cboAirconNumber, cboKind, txtPlace, txtSerialNumber});
}

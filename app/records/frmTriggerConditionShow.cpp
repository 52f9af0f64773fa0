#include "records/frmTriggerConditionShow.h"

#include "frame/grid.h"
#include "frame/library/tramsoll_client.h"
#include "frame/main_window.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "frame/map_title.h"
#include "records/data_show_cells.h"
#include "records/data_show_replay.h"
#include "types/unit_kinds.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

constexpr int kTitleText = 297;
constexpr int kFirstCaptionText = 298;  // lblTime .. cmdCancel: 298 .. 303
constexpr int kNormalText = 191;
constexpr int kErrorText = 192;
constexpr int kIgnoredText = 193;
constexpr int kStatusText = 400;
constexpr int32_t kTwoStateItem = 1;
constexpr int32_t kCodeItem = 2;

// The units whose conditions are shown, in the order shown, and the prefix
// of their rows.
struct UnitGroup {
  Collection<GraphAircon>* units;
  const char* prefix;
};

std::vector<UnitGroup> shownGroups(GraphSystem& model) {
  if (model.systemKind != kOrdinarySystem) return {{&model.airconsCen, "H-"}};
  return {{&model.airconsOut, "O-"}, {&model.airconsIn, "I-"}};
}

QTableWidget* newGrid(QWidget* parent, std::initializer_list<int> widths, const QStringList& headings) {
  auto* grid = new QTableWidget(parent);
  Grid cells(*grid);
  cells.setColumnWidthsTwips(widths);
  cells.setHeadings(headings);
  grid->verticalHeader()->hide();
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::NoSelection);
  return grid;
}

}  // namespace

QString triggerConditionText(int32_t dataType, const QString& stored) {
  if (stored.isEmpty()) return tableText(kIgnoredText);
  if (dataType == kTwoStateItem) return stored;
  if (stored == QLatin1String("0")) return tableText(kNormalText);
  if (stored == QLatin1String("1")) return tableText(kErrorText);
  return QString();
}

frmTriggerConditionShow::frmTriggerConditionShow() {
  setWindowTitle(QStringLiteral("Trigger Condition Display"));
  lblTime = new QLabel(QStringLiteral("1. Record time"), this);
  lblTime->setGeometry(twipsRect(240, 240, 1800, 300));
  txtTime = new QLineEdit(this);
  txtTime->setGeometry(twipsRect(2100, 200, 900, 330));
  txtTime->setReadOnly(true);
  lblMinute = new QLabel(QStringLiteral("minutes"), this);
  lblMinute->setGeometry(twipsRect(3100, 240, 1200, 300));
  fraTrigger = new QGroupBox(QStringLiteral("2. Trigger condition"), this);
  fraTrigger->setGeometry(twipsRect(120, 700, 7640, 3750));
  lblSystemSelect = new QLabel(QStringLiteral("2.1 Trigger record system (one system only)"), fraTrigger);
  lblSystemSelect->setGeometry(twipsRect(240, 300, 5000, 300));
  grdSystemSelect = newGrid(fraTrigger, {450, 1000, 2550}, {QString(), tableText(162), tableText(295)});
  grdSystemSelect->setGeometry(twipsRect(240, 600, 4300, 700));
  lblCondition = new QLabel(QStringLiteral("2.2 Trigger condition"), fraTrigger);
  lblCondition->setGeometry(twipsRect(240, 1400, 3000, 300));
  grdCondition = newGrid(fraTrigger, {2000, 1000, 1000}, {tableText(188), tableText(189), tableText(190)});
  grdCondition->setGeometry(twipsRect(240, 1700, 4300, 1900));
  cmdCancel = new QPushButton(QStringLiteral("Close (Esc)"), this);
  cmdCancel->setGeometry(twipsRect(6000, 4550, 1730, 480));
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cancel(); });
  keys_.add(Qt::Key_Escape, cmdCancel);
}

void frmTriggerConditionShow::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  showAll();
}

void frmTriggerConditionShow::onActivate() { setMainStatusText(tableText(kStatusText)); }

void frmTriggerConditionShow::keyPressEvent(QKeyEvent* event) {
  if (keys_.handle(event)) return;
  ChildForm::keyPressEvent(event);
}

GraphSystem& frmTriggerConditionShow::triggerShow() {
  if (!triggerShowObj) triggerShowObj = std::make_shared<GraphSystem>();
  return *triggerShowObj;
}

void frmTriggerConditionShow::showAll() {
  if (!dataShowCustomThisForm || !dataShowFileThisForm) return;
  setFormCaption();
  setControlCaptions();
  showRecordTime();
  showTriggerSystem();
  showTriggerConditions();
}

void frmTriggerConditionShow::setFormCaption() {
  setWindowTitle(mapWindowTitle(tableText(kTitleText), dataShowCustomThisForm->customName,
                            dataShowFileThisForm->mapName, dataShowFileThisForm->ifMode));
}

void frmTriggerConditionShow::setControlCaptions() {
  if (!captionsFromTable()) return;
  QWidget* const captioned[] = {lblTime, lblMinute, fraTrigger, lblSystemSelect, lblCondition, cmdCancel};
  int entry = kFirstCaptionText;
  for (QWidget* widget : captioned) {
    const QString text = tableText(entry++);
    if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(text);
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) frame->setTitle(text);
    if (auto* button = qobject_cast<QPushButton*>(widget)) button->setText(text);
  }
  for (QWidget* widget : std::initializer_list<QWidget*>{this, lblTime, lblMinute, fraTrigger, lblSystemSelect,
                                                         lblCondition, cmdCancel, grdSystemSelect, grdCondition}) {
    widget->setFont(appFont());
  }
}

void frmTriggerConditionShow::showRecordTime() {
  txtTime->setText(QString::number(recordingLengthSeconds(*dataShowFileThisForm) / 60));
}

void frmTriggerConditionShow::showTriggerSystem() {
  grdSystemSelect->setRowCount(1);
  Grid cells(*grdSystemSelect);
  cells.setText(0, 0, QStringLiteral("*"));
  cells.setText(0, 1, systemNumberText(dataShowFileThisForm->systemNumber));
  cells.setText(0, 2, fileSizeText(dataShowFileThisForm->fileSize));
}

void frmTriggerConditionShow::showTriggerConditions() {
  GraphSystem& model = triggerShow();
  for (Collection<GraphAircon>* units : {&model.airconsOut, &model.airconsIn, &model.airconsCen}) units->clear();
  setAirconToTriggerShowObj();
  readTriggerConditions();
  showConditionGrid();
}

void frmTriggerConditionShow::setAirconToTriggerShowObj() {
  GraphSystem& model = triggerShow();
  const DataShowFile& file = *dataShowFileThisForm;
  model.systemKind = fileSystemKind(file);
  if (model.systemKind != kOrdinarySystem) {
    addGraphAircons(model.airconsCen, kCentralUnit, file.cenNumber);
    return;
  }
  addGraphAircons(model.airconsOut, kOutdoorUnit, file.outNumber);
  addGraphAircons(model.airconsIn, kIndoorUnit, file.inNumber);
}

void frmTriggerConditionShow::readTriggerConditions() {
  const QByteArray folder = textForLibrary(dataShowCustomThisForm->customDir);
  const int32_t fileNumber = dataShowFileThisForm->fileNumber;
  const int32_t opened = tramsollApi().selectDataFile(folder.constData(), fileNumber);
  int shown = 0;
  for (const UnitGroup& group : shownGroups(triggerShow())) {
    for (const auto& unit : *group.units) readUnitConditions(*unit, group.prefix, shown);
  }
  // Only an opening is released: a file the library could not open is not.
  if (opened == 0 || opened == 2) tramsollApi().closeDataFile(folder.constData(), fileNumber);
  triggerShow().digitalItemNumber = shown;
}

void frmTriggerConditionShow::readUnitConditions(GraphAircon& unit, const char* prefix, int& shown) {
  const QString& folder = dataShowCustomThisForm->customDir;
  const int32_t fileNumber = dataShowFileThisForm->fileNumber;
  int32_t count = 0;
  tramsollApi().getPlyTrgNum(textForLibrary(folder).constData(), fileNumber, unit.airconType, unit.airconNumber,
                             &count);
  TramsollClient client;
  for (int32_t index = 1; index <= count; ++index) {
    const TriggerItemInfo stored = client.triggerItem(folder, fileNumber, unit.airconType, unit.airconNumber, index);
    if (stored.dataType != kTwoStateItem && stored.dataType != kCodeItem) continue;
    auto item = std::make_shared<GraphDataItem>();
    item->dataType = stored.dataType;
    item->listNo = unit.dataItems.count() + 1;
    item->dataItemNo = index;
    item->dataName = QString::number(++shown) + QLatin1Char(' ') + QLatin1String(prefix) +
                     QString::number(unit.airconNumber) + QLatin1Char('-') + stored.itemName;
    item->trigConShowString1 = triggerConditionText(stored.dataType, stored.conditionText1);
    item->trigConShowString2 = triggerConditionText(stored.dataType, stored.conditionText2);
    unit.dataItems.add(item, QString::number(item->listNo));
  }
}

void frmTriggerConditionShow::showConditionGrid() {
  grdCondition->setUpdatesEnabled(false);
  grdCondition->setRowCount(triggerShow().digitalItemNumber);
  Grid cells(*grdCondition);
  int row = 0;
  for (const UnitGroup& group : shownGroups(triggerShow())) {
    for (const auto& unit : *group.units) {
      for (const auto& item : unit->dataItems) {
        cells.setText(row, 0, item->dataName);
        cells.setText(row, 1, item->trigConShowString1);
        cells.setText(row, 2, item->trigConShowString2);
        ++row;
      }
    }
  }
  grdCondition->setUpdatesEnabled(true);
}

#include "recording/frmRecodeTrigger.h"

#include "frame/grid.h"
#include "frame/main_window.h"
#include "frame/number_box.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"
#include "frame/map_title.h"
#include "recording/recode_check.h"
#include "recording/recording_map_window.h"
#include "recording/recording_size.h"
#include "recording/recording_systems.h"
#include "recording/trigger_model.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>
#include <utility>

namespace {

constexpr int kTitleEntry = 179;
constexpr int kMarkEntry = 14;
constexpr int kSystemNoEntry = 162;
constexpr int kExpectedSizeEntry = 163;
constexpr int kFirstConditionHeadingEntry = 188;
constexpr int kIgnoredEntry = 193;
constexpr int kStatusEntry = 389;
constexpr int kRowHeight = 255;

// System grid columns: the mark, the system, its expected size.
constexpr int kMarkColumn = 0;
constexpr int kSystemColumn = 1;
constexpr int kSizeColumn = 2;
// Condition grid columns: the item (fixed), condition 1, condition 2.
constexpr int kItemColumn = 0;
constexpr int kCondition1Column = 1;
constexpr int kCondition2Column = 2;

QLabel* label(QWidget* parent, const char* caption, QRect twips) {
  return placeControl<QLabel>(parent, twips, QString::fromUtf8(caption));
}

QTableWidget* grid(QWidget* parent, QRect twips) {
  auto* made = placeControl<QTableWidget>(parent, twips);
  // Tab leaves the grid; the arrow keys move in it.
  made->setTabKeyNavigation(false);
  made->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Rows of the design's height, or of the font's where it is taller.
  made->verticalHeader()->setDefaultSectionSize(std::max(twipsToPixels(kRowHeight), made->fontMetrics().height() + 4));
  return made;
}

bool isPlainKey(const QKeyEvent& key, std::initializer_list<int> keys) {
  return (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
         std::find(keys.begin(), keys.end(), key.key()) != keys.end();
}

}  // namespace

frmRecodeTrigger::frmRecodeTrigger() {
  setWindowTitle(QStringLiteral("Trigger Record Setting"));
  makeTimeControls();
  fraTrigger = placeControl<QGroupBox>(this, QRect(120, 1000, 7600, 3450), QStringLiteral("2. Trigger setting"));
  makeSystemControls();
  makeConditionControls();
  cmdEnd = placeControl<QPushButton>(this, QRect(3800, 4570, 1950, 420), QStringLiteral("Set. completed (F1)"));
  cmdCancel = placeControl<QPushButton>(this, QRect(5870, 4570, 1850, 420), QStringLiteral("Cancel (Esc)"));
  keys_.add(Qt::Key_F1, cmdEnd, this, [this] { cmdEnd_Click(); });
  keys_.add(Qt::Key_Escape, cmdCancel, this, [this] { cancel(); });
  keys_.previewKeysOf(*this);
  for (QObject* watched : {static_cast<QObject*>(grdSystemSelect), static_cast<QObject*>(grdCondition),
                           static_cast<QObject*>(cboCondition)}) {
    watched->installEventFilter(this);
  }
}

void frmRecodeTrigger::makeTimeControls() {
  lblTime = label(this, "1. Rcd time bef./aft. trig.", QRect(120, 190, 2500, 240));
  txtTime = placeControl<QLineEdit>(this, QRect(2700, 150, 1000, 300));
  lblMinute = label(this, "minutes", QRect(3800, 190, 1200, 240));
  lblTimeElse1 = label(this, "(If set to a value higher than 60 minutes, the record time", QRect(240, 520, 7500, 240));
  lblTimeElse2 = label(this, "before trigger setting will be set to 60 minutes.)", QRect(240, 760, 7500, 240));
  connect(txtTime, &QLineEdit::textChanged, this, [this] { txtTime_Change(); });
}

void frmRecodeTrigger::makeSystemControls() {
  lblSystemSelect = label(fraTrigger, "2.1 Trigger record system selection (1 system only)", QRect(120, 280, 7300, 240));
  grdSystemSelect = grid(fraTrigger, QRect(240, 560, 4350, 1080));
  Grid(*grdSystemSelect).selectWholeRows();
  connect(grdSystemSelect, &QTableWidget::cellClicked, this, [this](int row) { grdSystemSelect_Click(row + 1); });
  lblFreeDisk = label(fraTrigger, "Free disk area", QRect(4800, 560, 2700, 240));
  txtFreeDisk = placeControl<QLineEdit>(fraTrigger, QRect(4800, 840, 1300, 300));
  txtFreeDisk->setReadOnly(true);
  txtFreeDisk->setFocusPolicy(Qt::NoFocus);
  lblFreeDiskUnit = label(fraTrigger, "MB ", QRect(6150, 880, 800, 240));
  lblFreeDiskElse = label(fraTrigger, "(If the free disk area is more than 2 GB, values may not be correct.)",
                          QRect(4800, 1180, 2700, 720));
  lblFreeDiskElse->setWordWrap(true);
}

void frmRecodeTrigger::makeConditionControls() {
  lblCondition = label(fraTrigger, "2.2 Trigger conditions setting", QRect(120, 1760, 4400, 240));
  grdCondition = grid(fraTrigger, QRect(240, 2040, 4350, 1330));
  grdCondition->setSelectionBehavior(QAbstractItemView::SelectItems);
  grdCondition->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(grdCondition, &QTableWidget::cellClicked, this, [this](int, int column) {
    if (column != kItemColumn) grdCondition_Click();
  });
  cboCondition = new QComboBox(grdCondition->viewport());
  cboCondition->hide();
  connect(cboCondition, &QComboBox::activated, this, [this] { cboCondition_Click(); });
  // Scrolling would leave the list over another cell.
  for (QScrollBar* bar : {grdCondition->verticalScrollBar(), grdCondition->horizontalScrollBar()}) {
    connect(bar, &QScrollBar::valueChanged, cboCondition, &QWidget::hide);
  }
  setConditionGridHeader();
}

// ---- Opening ----

void frmRecodeTrigger::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  const auto map = recordingMap();
  if (!map || !model()) return;
  cmdEnd->setEnabled(!triggerRecordingRuns());
  {
    const QSignalBlocker quiet(txtTime);
    txtTime->setText(QString::number(map->recodeTriggerTime));
  }
  setSystemGridHeader();
  showSystemRows();
  selectTriggerSystem(triggerSystemRow);
  txtFreeDisk->setText(freeDiskMegabyteText());
  setConditionGridHeader();
  // The model lives on with the map: it is built afresh only when it holds
  // no items, or when more units of the chosen system are on line now.
  if (model()->digitalItemNumber == 0 || whetherOnLineAirconIncreased(*model(), *map)) rebuildSystemTriggerObj();
  showTriggerCondition();
  cboCondition->hide();
  setControlCaptions();
  // After the captions, whose rule would give the title the bare entry.
  setFormCaption();
  focusFirstControl_ = true;
}

// A window loaded hidden by the check before a start is shown as the set-up
// of the recording that started since.
void frmRecodeTrigger::showEvent(QShowEvent* event) {
  ChildForm::showEvent(event);
  if (recordingMap() && model()) {
    cmdEnd->setEnabled(!triggerRecordingRuns());
    showTriggerFileSize();
  }
  if (std::exchange(focusFirstControl_, false)) txtTime->setFocus();
}

void frmRecodeTrigger::onActivate() { setMainStatusText(tableText(kStatusEntry)); }

void frmRecodeTrigger::setFormCaption() {
  if (const auto map = recordingMap()) setWindowTitle(mapWindowTitle(tableText(kTitleEntry), *map));
}

void frmRecodeTrigger::setControlCaptions() {
  if (!captionsFromTable()) return;
  applyTableCaptions(*this, kTitleEntry,
                     {{lblTime, 180},      {lblMinute, 181},       {lblTimeElse1, 182}, {lblTimeElse2, 183},
                      {fraTrigger, 184},   {lblSystemSelect, 185}, {lblCondition, 186}, {cmdEnd, 187},
                      {lblFreeDisk, 164},  {lblFreeDiskElse, 165}, {cmdCancel, 17}});
  useAppFont({grdSystemSelect, grdCondition, cboCondition, txtTime});
}

void frmRecodeTrigger::setSystemGridHeader() {
  Grid cells(*grdSystemSelect);
  cells.setColumnWidthsTwips({450, 1000, 2550});
  cells.setHeadings({QString(), tableText(kSystemNoEntry), tableText(kExpectedSizeEntry)});
}

void frmRecodeTrigger::setConditionGridHeader() {
  Grid cells(*grdCondition);
  cells.setColumnWidthsTwips({2000, 1000, 1000});
  cells.setHeadings({tableText(kFirstConditionHeadingEntry), tableText(kFirstConditionHeadingEntry + 1),
                     tableText(kFirstConditionHeadingEntry + 2)});
}

GraphSystem* frmRecodeTrigger::model() const {
  RecordingMapWindow* window = recordingMapWindow();
  return window ? &window->triggerModel() : nullptr;
}

// The system rows, and the system the window opens with: the model's own
// when it holds units, else the first that has a unit on line, else the
// first of all.
void frmRecodeTrigger::showSystemRows() {
  const auto map = recordingMap();
  const std::vector<SystemRow> rows = combinedSystemRows(*map);
  const int count = static_cast<int>(rows.size());
  grdSystemSelect->setRowCount(count);
  const GraphSystem& held = *model();
  triggerSystemRow = 0;
  if (!held.airconsOut.isEmpty() || !held.airconsIn.isEmpty() || !held.airconsCen.isEmpty()) {
    const int row = librarySystemNumber(*map, held.systemKind, held.systemNumber);
    if (row >= 1 && row <= count) triggerSystemRow = row;
  }
  const bool modelsOwn = triggerSystemRow != 0;
  Grid cells(*grdSystemSelect);
  for (const SystemRow& row : rows) {
    const int32_t shownNumber = row.kind == kOrdinarySystem ? row.system->systemNumber : row.row;
    cells.setText(row.row - 1, kSystemColumn, systemRowCaption(shownNumber));
    const bool first = !modelsOwn && triggerSystemRow == 0 && systemCanRecode(*map, row.kind, row.number);
    if (first) triggerSystemRow = row.row;
    row.system->recodeTrigger = first ? 1 : 0;
  }
  if (triggerSystemRow == 0 && count > 0) {
    triggerSystemRow = 1;
    rows.front().system->recodeTrigger = 1;
  }
}

// ---- The system recorded ----

void frmRecodeTrigger::highlightTriggerSystemRow() {
  if (triggerSystemRow < 1 || triggerSystemRow > grdSystemSelect->rowCount()) return;
  grdSystemSelect->setCurrentCell(triggerSystemRow - 1, kMarkColumn);
  grdSystemSelect->selectRow(triggerSystemRow - 1);
}

void frmRecodeTrigger::grdSystemSelect_Click(int row) {
  if (triggerRecordingRuns()) return;
  selectTriggerSystem(row);
}

// A first choice of another row only moves the cursor there; a choice of the
// row that holds it confirms it: the system is marked, the model follows it
// and its size is shown.
void frmRecodeTrigger::selectTriggerSystem(int row) {
  const auto map = recordingMap();
  if (!map) return;
  const std::vector<SystemRow> rows = combinedSystemRows(*map);
  if (row < 1 || row > static_cast<int>(rows.size())) return;
  grdSystemSelect->setUpdatesEnabled(false);
  if (row != triggerSystemRow) {
    triggerSystemRow = row;
  } else {
    grdSystemSelect->setRowCount(static_cast<int>(rows.size()));
    Grid cells(*grdSystemSelect);
    for (const SystemRow& each : rows) {
      each.system->recodeTrigger = each.row == row ? 1 : 0;
      cells.setText(each.row - 1, kMarkColumn, each.row == row ? tableText(kMarkEntry) : QString());
    }
    remakeSystemTriggerObj();
    showTriggerFileSize();
  }
  highlightTriggerSystemRow();
  grdSystemSelect->setUpdatesEnabled(true);
}

void frmRecodeTrigger::showTriggerFileSize() {
  const auto map = recordingMap();
  if (!map) return;
  const std::vector<QString> texts = triggerFileSizeTexts(*map);
  grdSystemSelect->setUpdatesEnabled(false);
  grdSystemSelect->setRowCount(static_cast<int>(texts.size()));
  Grid cells(*grdSystemSelect);
  for (std::size_t row = 0; row < texts.size(); ++row) cells.setText(static_cast<int>(row), kSizeColumn, texts[row]);
  grdSystemSelect->setUpdatesEnabled(true);
}

// ---- The model ----

void frmRecodeTrigger::setAirconToSystemTriggerObj() {
  if (const auto map = recordingMap(); map && model()) ::setAirconToSystemTriggerObj(*model(), *map);
}

void frmRecodeTrigger::setDataItemToSystemTriggerObj() {
  if (const auto map = recordingMap(); map && model()) ::setDataItemToSystemTriggerObj(*model(), *map);
  grdCondition->setRowCount(model() ? model()->digitalItemNumber : 0);
}

void frmRecodeTrigger::deleteSystemTriggerObj() {
  if (GraphSystem* held = model()) ::deleteSystemTriggerObj(*held);
}

void frmRecodeTrigger::rebuildSystemTriggerObj() {
  deleteSystemTriggerObj();
  setAirconToSystemTriggerObj();
  setDataItemToSystemTriggerObj();
}

// Another system than the model's was confirmed: the model is built for it,
// every condition unused.
void frmRecodeTrigger::remakeSystemTriggerObj() {
  const auto map = recordingMap();
  if (!map || !model() || triggerModelOfMarkedSystem(*model(), *map)) return;
  rebuildSystemTriggerObj();
  showTriggerCondition();
  cboCondition->hide();
}

void frmRecodeTrigger::showTriggerCondition() {
  if (!model()) return;
  grdCondition->setUpdatesEnabled(false);
  grdCondition->setRowCount(model()->digitalItemNumber);
  Grid cells(*grdCondition);
  const QColor text = grdCondition->palette().color(QPalette::Text);
  const QColor fixed = grdCondition->palette().color(QPalette::Button);
  for (const TriggerRow& row : triggerRows(*model())) {
    const int line = row.row - 1;
    cells.setText(line, kItemColumn, row.item->dataName);
    // The item column is fixed: the cursor never stands in it.
    cells.setColours(line, kItemColumn, text, fixed);
    if (QTableWidgetItem* cell = grdCondition->item(line, kItemColumn)) cell->setFlags(Qt::NoItemFlags);
    if (const auto shown = conditionText(*row.item, row.item->triggerCondition1)) cells.setText(line, kCondition1Column, *shown);
    if (const auto shown = conditionText(*row.item, row.item->triggerCondition2)) cells.setText(line, kCondition2Column, *shown);
  }
  if (grdCondition->rowCount() > 0 && grdCondition->currentColumn() < kCondition1Column) {
    grdCondition->setCurrentCell(0, kCondition1Column);
  }
  grdCondition->setUpdatesEnabled(true);
}

// The item of the current cell: its two state texts and the code of the
// current column's condition. False when the cursor is on no condition.
bool frmRecodeTrigger::getTriggerConString(QString& state0, QString& state1, int32_t& condition) {
  const int column = grdCondition->currentColumn();
  if (!model() || (column != kCondition1Column && column != kCondition2Column)) return false;
  for (const TriggerRow& row : triggerRows(*model())) {
    if (row.row != grdCondition->currentRow() + 1) continue;
    state0 = row.item->triggerConString0;
    state1 = row.item->triggerConString1;
    condition = column == kCondition1Column ? row.item->triggerCondition1 : row.item->triggerCondition2;
    return true;
  }
  return false;
}

void frmRecodeTrigger::setTriggerConditionFromCombo() {
  const int column = grdCondition->currentColumn();
  if (!model() || (column != kCondition1Column && column != kCondition2Column)) return;
  for (const TriggerRow& row : triggerRows(*model())) {
    if (row.row != grdCondition->currentRow() + 1) continue;
    (column == kCondition1Column ? row.item->triggerCondition1 : row.item->triggerCondition2) =
        cboCondition->currentIndex();
    return;
  }
}

// ---- The conditions ----

// The list over the current cell: the item's state-0 and state-1 texts and
// "IGNORED", its index the condition code, opened on the present one.
void frmRecodeTrigger::grdCondition_Click() {
  if (triggerRecordingRuns()) return;
  QString state0, state1;
  int32_t condition = kConditionUnused;
  if (!getTriggerConString(state0, state1, condition)) return;
  cboCondition->clear();
  cboCondition->addItems({state0, state1, tableText(kIgnoredEntry)});
  cboCondition->setCurrentIndex(condition);
  const QRect cell = grdCondition->visualRect(grdCondition->currentIndex());
  cboCondition->setGeometry(cell.x(), cell.y(), cell.width(), std::max(cell.height(), cboCondition->sizeHint().height()));
  cboCondition->show();
  cboCondition->setFocus();
  cboCondition->showPopup();
}

void frmRecodeTrigger::cboCondition_Click() {
  if (triggerRecordingRuns()) {
    cboCondition->hide();
    return;
  }
  Grid(*grdCondition).setText(grdCondition->currentRow(), grdCondition->currentColumn(), cboCondition->currentText());
  setTriggerConditionFromCombo();
}

// ---- The record time ----

void frmRecodeTrigger::txtTime_Change() {
  const auto map = recordingMap();
  if (!map) return;
  if (triggerRecordingRuns()) {
    const QSignalBlocker quiet(txtTime);
    txtTime->setText(QString::number(map->recodeTriggerTime));
    return;
  }
  const MinutesEntry entry = minutesFromBox(txtTime->text());
  map->recodeTriggerTime = entry.minutes;
  if (entry.clamped) {
    const QSignalBlocker quiet(txtTime);
    txtTime->setText(QLatin1String(kMaxRecodeMinutesText));
  }
  showTriggerFileSize();
}

// ---- Keys of the grids and the list ----

bool frmRecodeTrigger::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return ChildForm::eventFilter(watched, event);
  const auto& key = *static_cast<QKeyEvent*>(event);
  if (watched == cboCondition && isPlainKey(key, {Qt::Key_Return, Qt::Key_Enter})) {
    cboCondition->hide();
    grdCondition->setFocus();
    return true;
  }
  if (!isPlainKey(key, {Qt::Key_F12})) return ChildForm::eventFilter(watched, event);
  if (watched == grdSystemSelect) {
    // F12 confirms the row that holds the cursor at once.
    const int current = grdSystemSelect->currentRow();
    if (!triggerRecordingRuns() && current >= 0) {
      triggerSystemRow = current + 1;
      selectTriggerSystem(triggerSystemRow);
    }
    return true;
  }
  if (watched == grdCondition) {
    grdCondition_Click();
    return true;
  }
  return ChildForm::eventFilter(watched, event);
}

// ---- Completion ----

void frmRecodeTrigger::cmdEnd_Click() {
  if (triggerRecordingRuns()) {
    unload();
    return;
  }
  int32_t result = kTriggerReady;
  checkRecodeTriggerData(result);
  if (result == kTriggerReady) unload();
}

// ---- What the map window calls ----

void frmRecodeTrigger::checkRecodeTriggerData(int32_t& result) {
  result = kTriggerReady;
  const auto map = recordingMap();
  if (!map || !model()) return;
  // A negative time is refused like 0: the library would get negative
  // record counts.
  if (map->recodeTriggerTime <= 0) {
    result = kTriggerTimeMissing;
    if (isVisible()) txtTime->setFocus();
    showRecordingMessage(recordingMessage(RecordingMessage::TriggerTime));
    return;
  }
  if (!whetherTriggerConditionSet(*model())) {
    result = kTriggerConditionMissing;
    if (isVisible()) grdCondition->setFocus();
    showRecordingMessage(recordingMessage(RecordingMessage::TriggerConditions));
  }
}

void frmRecodeTrigger::whetherFileSizeOver(bool& over) {
  const auto map = recordingMap();
  over = map && triggerFileSizeOver(*map);
}

void frmRecodeTrigger::setTriggerConditionForSave() {
  const auto map = recordingMap();
  if (map && model()) ::setTriggerConditionForSave(*model(), *map);
}

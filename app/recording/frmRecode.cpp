#include "recording/frmRecode.h"

#include "frame/grid.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"
#include "frame/map_title.h"
#include "recording/frmRecodeSensorInput.h"
#include "recording/recode_check.h"
#include "recording/recode_conditions.h"
#include "recording/recording_map_window.h"
#include "recording/recording_size.h"
#include "recording/recording_systems.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>
#include <utility>

namespace {

constexpr int kTitleEntry = 146;
constexpr int kMarkEntry = 14;
constexpr int kSystemNoEntry = 162;
constexpr int kExpectedSizeEntry = 163;
constexpr int kWaitEntry = 388;
constexpr int kStatusEntry = 389;
constexpr int16_t kPlusAdapter = 1;

// Grid columns: the mark, the system, its expected size.
constexpr int kMarkColumn = 0;
constexpr int kSystemColumn = 1;
constexpr int kSizeColumn = 2;
constexpr int kRowHeight = 255;

QLabel* label(QWidget* parent, const char* caption, int left, int top, int width) {
  return placeControl<QLabel>(parent, QRect(left, top, width, 240), QString::fromUtf8(caption));
}

QLineEdit* shownBox(QWidget* parent, int left, int top, int width) {
  auto* shown = placeControl<QLineEdit>(parent, QRect(left, top, width, 300));
  shown->setReadOnly(true);
  return shown;
}

void checkQuietly(QAbstractButton* button) {
  const QSignalBlocker quiet(button);
  button->setChecked(true);
}

}  // namespace

frmRecode::frmRecode() {
  setWindowTitle(QStringLiteral("Periodic Recording Setting"));
  setCloseBox(CloseBox::RunsCancel);
  makeConditionControls();
  makeSystemControls();
  makeSensorControls();
  cmdEnd = placeControl<QPushButton>(this, QRect(5900, 1380, 1850, 500), QStringLiteral("Set. completed (F1)"));
  cmdCancel = placeControl<QPushButton>(this, QRect(5900, 2000, 1850, 500), QStringLiteral("Cancel (Esc)"));
  keys_.add(Qt::Key_F1, cmdEnd, this, [this] { cmdEnd_Click(); });
  keys_.add(Qt::Key_F2, cmdSensorInput, this, [this] { cmdSensorInput_Click(); });
  keys_.add(Qt::Key_Escape, cmdCancel, this, [this] { cancel(); });
  keys_.previewKeysOf(*this);
}

void frmRecode::makeConditionControls() {
  lblInterval = label(this, "1. Rcd interval", 120, 190, 1300);
  cboInterval = placeControl<QComboBox>(this, QRect(1450, 150, 800, 315));
  lblSecond = label(this, "sec.", 2300, 190, 600);
  lblEndMethod = label(this, "2. Rcd stop method", 120, 660, 1750);
  fraRecode = placeControl<QGroupBox>(this, QRect(1900, 520, 5850, 500));
  optEndMethod[0] = placeControl<QRadioButton>(fraRecode, QRect(100, 130, 1000, 250), QStringLiteral("Manual"));
  optEndMethod[1] = placeControl<QRadioButton>(fraRecode, QRect(1250, 130, 900, 250), QStringLiteral("Auto"));
  lblTime = label(fraRecode, "(record time", 2250, 150, 1350);
  txtTime = placeControl<QLineEdit>(fraRecode, QRect(3650, 110, 1000, 300));
  lblMinute = label(fraRecode, "minutes)", 4700, 150, 1100);
  conditions_ = new RecodeConditionControls({cboInterval, optEndMethod, lblTime, txtTime, lblMinute},
                                            [this] { showRecodeFileSize(); }, this);
}

void frmRecode::makeSystemControls() {
  lblSystemSelect = label(this, "3. Record. system select. (possible to select more than one)", 120, 1110, 7600);
  grdSystemSelect = placeControl<QTableWidget>(this, QRect(240, 1380, 4350, 1500));
  Grid(*grdSystemSelect).selectWholeRows();
  // Tab leaves the grid; the arrow keys move in it.
  grdSystemSelect->setTabKeyNavigation(false);
  // Rows of the design's height, or of the font's where it is taller.
  grdSystemSelect->verticalHeader()->setDefaultSectionSize(
      std::max(twipsToPixels(kRowHeight), grdSystemSelect->fontMetrics().height() + 4));
  grdSystemSelect->installEventFilter(this);
  connect(grdSystemSelect, &QTableWidget::cellClicked, this, [this](int row) { grdSystemSelect_Click(row + 1); });
  lblTotalSize = label(this, "Total of expected record file size", 240, 3000, 3000);
  txtTotalSize = shownBox(this, 3300, 2960, 1100);
  lblTotalSizeUnit = label(this, "KB", 4450, 3000, 1500);
  lblFreeDisk = label(this, "Free disk area", 240, 3380, 3000);
  txtFreeDisk = shownBox(this, 3300, 3340, 1100);
  lblFreeDiskUnit = label(this, "MB ( 1MB = 1024KB )", 4450, 3380, 2500);
  lblFreeDiskElse = label(this, "(If the free disk area is more than 2 GB, values may not be correct.)", 240, 3730, 7500);
}

void frmRecode::makeSensorControls() {
  lblSensorInput = label(this, "4. Sensor input setting", 120, 4060, 3000);
  fraSensorInput = placeControl<QGroupBox>(this, QRect(240, 4280, 7500, 840));
  optSensorInput[0] = placeControl<QRadioButton>(fraSensorInput, QRect(100, 90, 1500, 250), QStringLiteral("No recording"));
  optSensorInput[1] = placeControl<QRadioButton>(fraSensorInput, QRect(1700, 90, 1300, 250), QStringLiteral("Recording"));
  lblSensorInputSystem1 = label(fraSensorInput, "(system selection", 100, 500, 1750);
  cboSensorInputSystem = placeControl<QComboBox>(fraSensorInput, QRect(1900, 460, 1300, 315));
  lblSensorInputSystem2 = label(fraSensorInput, ")", 3250, 500, 200);
  cmdSensorInput = placeControl<QPushButton>(fraSensorInput, QRect(4200, 200, 3100, 460),
                                             QStringLiteral("Sensor input setting (F2)"));
  for (int index = 0; index < 2; ++index) {
    connect(optSensorInput[index], &QRadioButton::toggled, this, [this, index](bool checked) {
      if (checked) optSensorInput_Click(index);
    });
  }
  connect(cboSensorInputSystem, &QComboBox::currentIndexChanged, this, [this] { cboSensorInputSystem_Click(); });
}

// ---- Opening ----

void frmRecode::onLoad() {
  centreClientInMainWindowTwips(kWidth, kHeight);
  const auto map = recordingMap();
  if (!map) return;
  conditions_->show();
  setSystemGridHeader();
  showSystemRows();
  showRunningState();
  recodeSystemRow = 1;
  highlightRecodeSystemRow();
  txtFreeDisk->setText(freeDiskMegabyteText());
  // The sensor option as if chosen: it makes or removes the sensor system to
  // match the mode.
  const int sensorIndex = recordsSensorInputs(map->ifMode) ? 1 : 0;
  checkQuietly(optSensorInput[sensorIndex]);
  optSensorInput_Click(sensorIndex);
  selectSensorSystem();
  // The Plus adapter has no sensor inputs.
  const bool plus = program().adapterOptions[0] == kPlusAdapter;
  for (QWidget* control : {static_cast<QWidget*>(lblSensorInput), static_cast<QWidget*>(optSensorInput[0]),
                           static_cast<QWidget*>(optSensorInput[1])}) {
    control->setEnabled(!plus);
  }
  if (plus) cmdSensorInput->setEnabled(false);
  setControlCaptions();
  // After the captions, whose rule would give the title the bare entry.
  setFormCaption();
  focusFirstControl_ = true;
}

// Shown after a loading, the window has the focus on its first control. A
// window loaded hidden must not take the focus: the active child would
// become a window that cannot be seen. A window loaded hidden by the check
// before a start is shown as the set-up of the recording that started since.
void frmRecode::showEvent(QShowEvent* event) {
  ChildForm::showEvent(event);
  showRunningState();
  if (std::exchange(focusFirstControl_, false)) cboInterval->setFocus();
}

// What depends on the recording and on the library's answer now: whether the
// set-up may be completed, and the sizes of the systems recorded.
void frmRecode::showRunningState() {
  if (!recordingMap()) return;
  cmdEnd->setEnabled(!periodicRecordingRuns());
  showRecodeFileSize();
}

void frmRecode::onActivate() { setMainStatusText(tableText(kStatusEntry)); }

void frmRecode::setFormCaption() {
  if (const auto map = recordingMap()) setWindowTitle(mapWindowTitle(tableText(kTitleEntry), *map));
}

void frmRecode::setControlCaptions() {
  if (!captionsFromTable()) return;
  applyTableCaptions(*this, kTitleEntry,
                     {{lblInterval, 147},           {lblSecond, 9},
                      {lblEndMethod, 148},          {optEndMethod[0], 149},
                      {optEndMethod[1], 150},       {lblTime, 151},
                      {lblMinute, 152},             {lblSystemSelect, 153},
                      {lblTotalSize, 154},          {lblFreeDisk, 164},
                      {lblFreeDiskElse, 165},       {lblSensorInput, 155},
                      {optSensorInput[0], 156},     {optSensorInput[1], 157},
                      {lblSensorInputSystem1, 158}, {lblSensorInputSystem2, 159},
                      {cmdSensorInput, 160},        {cmdEnd, 161},
                      {cmdCancel, 17}});
  useAppFont({lblTotalSizeUnit, lblFreeDiskUnit, grdSystemSelect, cboSensorInputSystem});
}

void frmRecode::setSystemGridHeader() {
  Grid cells(*grdSystemSelect);
  cells.setColumnWidthsTwips({450, 1000, 2550});
  cells.setHeadings({QString(), tableText(kSystemNoEntry), tableText(kExpectedSizeEntry)});
}

// Every system without a unit on line now loses its mark.
void frmRecode::showSystemRows() {
  const auto map = recordingMap();
  const std::vector<SystemRow> rows = combinedSystemRows(*map);
  grdSystemSelect->setRowCount(static_cast<int>(rows.size()));
  const QSignalBlocker quiet(cboSensorInputSystem);
  cboSensorInputSystem->clear();
  Grid cells(*grdSystemSelect);
  for (const SystemRow& row : rows) {
    if (!systemCanRecode(*map, row.kind, row.number)) row.system->recode = 0;
    cells.setText(row.row - 1, kMarkColumn, row.system->recode == 1 ? tableText(kMarkEntry) : QString());
    cells.setText(row.row - 1, kSystemColumn, systemRowCaption(row.row));
    cboSensorInputSystem->addItem(systemRowCaption(row.row));
  }
}

// The marks and sizes as the map holds them after a check took some away.
void frmRecode::showMarks() {
  Grid cells(*grdSystemSelect);
  for (const SystemRow& row : combinedSystemRows(*recordingMap())) {
    cells.setText(row.row - 1, kMarkColumn, row.system->recode == 1 ? tableText(kMarkEntry) : QString());
  }
  showRecodeFileSize();
}

// ---- The systems recorded ----

void frmRecode::highlightRecodeSystemRow() {
  if (recodeSystemRow < 1 || recodeSystemRow > grdSystemSelect->rowCount()) return;
  grdSystemSelect->setCurrentCell(recodeSystemRow - 1, kMarkColumn);
  grdSystemSelect->selectRow(recodeSystemRow - 1);
}

void frmRecode::grdSystemSelect_Click(int row) {
  if (periodicRecordingRuns()) return;
  selectRecodeSystem(row);
}

bool frmRecode::eventFilter(QObject* watched, QEvent* event) {
  if (watched != grdSystemSelect || event->type() != QEvent::KeyPress) return ChildForm::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_F12 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
  // F12 toggles the row that holds the cursor at once.
  const int current = grdSystemSelect->currentRow();
  if (!periodicRecordingRuns() && current >= 0) {
    recodeSystemRow = current + 1;
    selectRecodeSystem(recodeSystemRow);
  }
  return true;
}

// A first choice of another row only moves the cursor there; a choice of the
// row that holds it toggles the row's mark.
void frmRecode::selectRecodeSystem(int row) {
  const auto map = recordingMap();
  if (!map) return;
  const std::vector<SystemRow> rows = combinedSystemRows(*map);
  if (row < 1 || row > static_cast<int>(rows.size())) return;
  grdSystemSelect->setUpdatesEnabled(false);
  if (row != recodeSystemRow) {
    recodeSystemRow = row;
  } else {
    grdSystemSelect->setRowCount(static_cast<int>(rows.size()));
    const SystemRow& chosen = rows[static_cast<std::size_t>(row - 1)];
    Grid cells(*grdSystemSelect);
    if (chosen.system->recode == 1) {
      chosen.system->recode = 0;
      cells.setText(row - 1, kMarkColumn, QString());
    } else if (systemCanRecode(*map, chosen.kind, chosen.number)) {
      chosen.system->recode = 1;
      cells.setText(row - 1, kMarkColumn, tableText(kMarkEntry));
    } else {
      setMainStatusText(tableText(kWaitEntry));
    }
    showRecodeFileSize();
  }
  highlightRecodeSystemRow();
  grdSystemSelect->setUpdatesEnabled(true);
}

void frmRecode::showRecodeFileSize() {
  const auto map = recordingMap();
  if (!map) return;
  const RecodeFileSizes sizes = recodeFileSizes(*map);
  grdSystemSelect->setUpdatesEnabled(false);
  grdSystemSelect->setRowCount(static_cast<int>(sizes.rowTexts.size()));
  Grid cells(*grdSystemSelect);
  for (std::size_t row = 0; row < sizes.rowTexts.size(); ++row) {
    cells.setText(static_cast<int>(row), kSizeColumn, sizes.rowTexts[row]);
  }
  grdSystemSelect->setUpdatesEnabled(true);
  txtTotalSize->setText(sizes.total);
  lblTotalSizeUnit->setText(sizes.unit);
}

// ---- The sensor inputs ----

void frmRecode::enableSensorSystem(bool enabled) {
  for (QWidget* control : {static_cast<QWidget*>(lblSensorInputSystem1), static_cast<QWidget*>(cboSensorInputSystem),
                           static_cast<QWidget*>(lblSensorInputSystem2), static_cast<QWidget*>(cmdSensorInput)}) {
    control->setEnabled(enabled);
  }
}

void frmRecode::selectSensorSystem() {
  const auto map = recordingMap();
  const auto sensor = map ? sensorSystem(*map) : nullptr;
  if (!sensor) return;
  const QSignalBlocker quiet(cboSensorInputSystem);
  cboSensorInputSystem->setCurrentIndex(sensor->systemNumber - 1);
}

void frmRecode::optSensorInput_Click(int index) {
  const auto map = recordingMap();
  if (!map) return;
  if (periodicRecordingRuns()) {
    const int stored = recordsSensorInputs(map->ifMode) ? 1 : 0;
    checkQuietly(optSensorInput[stored]);
    enableSensorSystem(stored == 1);
    return;
  }
  const bool made = index == 1 && map->systemsSen.isEmpty();
  setSensorInputRecording(*map, index == 1);
  checkQuietly(optSensorInput[index]);
  enableSensorSystem(index == 1);
  if (made) {
    const QSignalBlocker quiet(cboSensorInputSystem);
    cboSensorInputSystem->setCurrentIndex(0);
  }
  showRecodeFileSize();
}

void frmRecode::cboSensorInputSystem_Click() {
  const auto map = recordingMap();
  if (!map) return;
  if (periodicRecordingRuns()) {
    selectSensorSystem();
    return;
  }
  const auto sensor = sensorSystem(*map);
  if (sensor && cboSensorInputSystem->currentIndex() >= 0) sensor->systemNumber = cboSensorInputSystem->currentIndex() + 1;
  showRecodeFileSize();
}

void frmRecode::cmdSensorInput_Click() {
  if (RecordingMapWindow* window = recordingMapWindow()) window->noteSensorInputSetUpShown();
  frmRecodeSensorInput::instance().showModal();
}

// ---- Completion and Cancel ----

void frmRecode::cmdEnd_Click() {
  if (periodicRecordingRuns()) {
    unload();
    return;
  }
  const auto map = recordingMap();
  const RecordingMapWindow* window = recordingMapWindow();
  if (map && recordsSensorInputs(map->ifMode) && !(window && window->sensorInputSetUpShown())) {
    showRecordingMessage(recordingMessage(RecordingMessage::SensorSettings));
    if (cmdSensorInput->isEnabled() && cmdSensorInput->isVisible()) cmdSensorInput->setFocus();
    return;
  }
  int32_t result = kRecodeReady;
  checkRecodeData(result);
  if (result == kRecodeReady) unload();
}

void frmRecode::cancel() {
  unload();
  if (RecordingMapWindow* window = recordingMapWindow()) window->refreshModeButtons();
}

// ---- What the map window calls ----

void frmRecode::checkRecodeData(int32_t& result) {
  result = kRecodeReady;
  load();
  const auto map = recordingMap();
  if (!map) return;
  result = ::checkRecodeData(*map);
  if (isVisible()) showMarks();
  if (result == kRecodeReady) return;
  if (isVisible()) (result == kRecodeTimeMissing ? static_cast<QWidget*>(txtTime) : grdSystemSelect)->setFocus();
  showRecordingMessage(recodeCheckMessage(result));
}

void frmRecode::getFileSize(int32_t systemNo, double& size) {
  load();
  const auto map = recordingMap();
  size = map ? ::getFileSize(*map, systemNo) : 0;
}

void frmRecode::whetherFileSizeOver(bool& over) {
  load();
  const auto map = recordingMap();
  over = map && ::whetherFileSizeOver(*map);
}

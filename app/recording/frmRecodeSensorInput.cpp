#include "recording/frmRecodeSensorInput.h"

#include "frame/library/library_text.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"
#include "frame/map_title.h"
#include "recording/recode_check.h"
#include "recording/recode_conditions.h"
#include "recording/recording_map_window.h"
#include "recording/recording_size.h"
#include "recording/recording_systems.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

constexpr int kTitleEntry = 166;
constexpr int kStatusEntry = 389;
constexpr int kSensorInputEntry = 5;
constexpr int kSystemEntry = 6;
constexpr int kItemEntry = 175;
constexpr int kFullScaleEntry = 176;
constexpr int kUnitEntry = 177;

// Tops of the eight input rows, in twips; inputs 7 and 8 have room for
// their range frames.
constexpr std::array<int, kSensorInputs> kRowTops = {2500, 2830, 3160, 3490, 3820, 4150, 4520, 4970};
constexpr int kBoxHeight = 300;

QLabel* label(QWidget* parent, const char* caption, int left, int top, int width) {
  return placeControl<QLabel>(parent, QRect(left, top, width, 240), QString::fromUtf8(caption));
}

QLineEdit* box(QWidget* parent, int left, int top, int width) {
  return placeControl<QLineEdit>(parent, QRect(left, top, width, kBoxHeight));
}

QLineEdit* shownBox(QWidget* parent, int left, int top, int width) {
  QLineEdit* shown = box(parent, left, top, width);
  shown->setReadOnly(true);
  return shown;
}

void setTextQuietly(QLineEdit* box, const QString& text) {
  const QSignalBlocker quiet(box);
  box->setText(text);
}

// A name or unit the library would refuse is cut as it is typed, on a
// character boundary.
void keepWithinBytes(QLineEdit* box, int bytes) {
  const QByteArray kept = textForLibrary(box->text(), bytes);
  if (kept.size() < box->text().toUtf8().size()) setTextQuietly(box, QString::fromUtf8(kept));
}

void checkQuietly(QAbstractButton* button, bool checked) {
  const QSignalBlocker quiet(button);
  button->setChecked(checked);
}

}  // namespace

frmRecodeSensorInput::frmRecodeSensorInput() {
  setWindowTitle(QStringLiteral("Periodic Recording Setting"));
  makeConditionControls();
  makeSizeControls();
  makeItemRows();
  cmdEnd = placeControl<QPushButton>(this, QRect(6050, 2500, 1850, 500), QStringLiteral("Set. completed (F1)"));
  cmdCancel = placeControl<QPushButton>(this, QRect(6050, 3300, 1850, 500), QStringLiteral("Cancel (Esc)"));
  keys_.add(Qt::Key_F1, cmdEnd, this, [this] { cmdEnd_Click(); });
  keys_.add(Qt::Key_Escape, cmdCancel, this, [this] { cancel(); });
  keys_.previewKeysOf(*this);
}

void frmRecodeSensorInput::makeConditionControls() {
  lblInterval = label(this, "1. Rcd interval", 120, 190, 1500);
  cboInterval = placeControl<QComboBox>(this, QRect(1650, 150, 800, 315));
  lblSecond = label(this, "sec.", 2500, 190, 600);
  lblEndMethod = label(this, "2. Rcd stop method", 120, 650, 1950);
  fraRecode = placeControl<QGroupBox>(this, QRect(2100, 520, 5850, 500));
  optEndMethod[0] = placeControl<QRadioButton>(fraRecode, QRect(100, 130, 1150, 250), QStringLiteral("Manual"));
  optEndMethod[1] = placeControl<QRadioButton>(fraRecode, QRect(1300, 130, 900, 250), QStringLiteral("Auto"));
  lblTime = label(fraRecode, "(record time", 2300, 150, 1350);
  txtTime = box(fraRecode, 3700, 110, 1000);
  lblMinute = label(fraRecode, "minutes)", 4750, 150, 1050);
  conditions_ = new RecodeConditionControls({cboInterval, optEndMethod, lblTime, txtTime, lblMinute},
                                            [this] { showFileSize(); }, this);
}

void frmRecodeSensorInput::makeSizeControls() {
  lblFileSize = label(this, "3. Expected record file size", 120, 1170, 2900);
  txtFileSize = shownBox(this, 3050, 1130, 1000);
  lblFileSizeUnit = label(this, "KB", 4100, 1170, 1500);
  lblFreeDisk = label(this, "Free disk area", 120, 1540, 2900);
  txtFreeDisk = shownBox(this, 3050, 1500, 1000);
  lblFreeDiskUnit = label(this, "MB ( 1MB = 1024KB )", 4100, 1540, 2500);
  lblFreeDiskElse = label(this, "(If the free disk area is more than 2 GB, values may not be correct.)", 120, 1880, 7800);
  lblDataItems = label(this, "4. Measurement data item", 120, 2200, 3000);
}

void frmRecodeSensorInput::makeItemRows() {
  for (int input = 0; input < kSensorInputs; ++input) {
    const int top = kRowTops[static_cast<std::size_t>(input)];
    chk[input] = placeControl<QCheckBox>(this, QRect(350, top, 750, 260), sensorInputName(input + 1, 0));
    lblName[input] = label(this, "Item", 1150, top + 20, 480);
    txtName[input] = box(this, 1650, top - 20, 800);
    connect(chk[input], &QCheckBox::toggled, this, [this] { sensorItemChanged(); });
    connect(txtName[input], &QLineEdit::textChanged, this, [this, input] {
      keepWithinBytes(txtName[input], kSensorNameBytes);
      sensorItemChanged();
    });
  }
  makeAnalogRow(0, kRowTops[6]);
  makeAnalogRow(1, kRowTops[7]);
}

void frmRecodeSensorInput::makeAnalogRow(int index, int top) {
  AnalogControls& row = analogInputs[static_cast<std::size_t>(index)];
  row.fra = placeControl<QGroupBox>(this, QRect(2500, top - 90, 2050, 430));
  row.optLevel[0] = placeControl<QRadioButton>(row.fra, QRect(60, 100, 960, 250), QStringLiteral("0 - 5V"));
  row.optLevel[1] = placeControl<QRadioButton>(row.fra, QRect(1040, 100, 960, 250), QStringLiteral("0 - 1V"));
  row.optLevel[0]->setChecked(true);
  row.lblOffset = label(this, "0V", 4600, top + 20, 300);
  row.txtOffset = box(this, 4900, top - 20, 500);
  row.lblFullScale = label(this, "Full scale", 5430, top + 20, 1000);
  row.txtFullScale = box(this, 6450, top - 20, 500);
  row.lblUnit = label(this, "Unit", 6990, top + 20, 400);
  row.txtUnit = box(this, 7400, top - 20, 560);
  for (QRadioButton* level : row.optLevel) connect(level, &QRadioButton::toggled, this, [this] { sensorItemChanged(); });
  for (QLineEdit* value : {row.txtOffset, row.txtFullScale}) {
    connect(value, &QLineEdit::textChanged, this, [this] { sensorItemChanged(); });
  }
  connect(row.txtUnit, &QLineEdit::textChanged, this, [this, unit = row.txtUnit] {
    keepWithinBytes(unit, kSensorUnitBytes);
    sensorItemChanged();
  });
}

// ---- Opening and closing ----

void frmRecodeSensorInput::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  if (const auto map = recordingMap()) {
    setControlCaptions();
    // After the captions, whose rule would give the title the bare entry.
    setFormCaption();
    cmdEnd->setEnabled(!periodicRecordingRuns());
    conditions_->show();
    showFileSize();
    txtFreeDisk->setText(freeDiskMegabyteText());
    greyRecordingSections();
    showSensorItems();
  }
  program().dialogOpen.raise();
}

// A window loaded hidden by the check before a start is shown as the set-up
// of the recording that started since.
void frmRecodeSensorInput::showEvent(QShowEvent* event) {
  DialogForm::showEvent(event);
  if (!recordingMap()) return;
  cmdEnd->setEnabled(!periodicRecordingRuns());
  showFileSize();
}

void frmRecodeSensorInput::onUnload() { program().dialogOpen.lower(); }

void frmRecodeSensorInput::onActivate() { setMainStatusText(tableText(kStatusEntry)); }

void frmRecodeSensorInput::setFormCaption() {
  const auto map = recordingMap();
  QString title = mapWindowTitle(tableText(kTitleEntry), *map);
  if (recordsSensorInputs(map->ifMode)) {
    // The access text goes on with the system that carries the inputs.
    const auto last = map->systemsSen.item(map->systemsSen.count());
    title.chop(1);
    title += QLatin1Char(',') + tableText(kSystemEntry) + QLatin1Char(' ') +
             QString::number(last ? last->systemNumber : 0) + QLatin1Char(',') + tableText(kSensorInputEntry) +
             QLatin1Char(')');
  }
  setWindowTitle(title);
}

void frmRecodeSensorInput::setControlCaptions() {
  if (!captionsFromTable()) return;
  applyTableCaptions(*this, kTitleEntry,
                     {{lblInterval, 167}, {lblSecond, 9}, {lblEndMethod, 168}, {optEndMethod[0], 169},
                      {optEndMethod[1], 170}, {lblTime, 171}, {lblMinute, 172}, {lblFileSize, 173},
                      {lblFreeDisk, 164}, {lblFreeDiskElse, 165}, {lblDataItems, 174}, {cmdEnd, 178},
                      {cmdCancel, 17}});
  for (int input = 0; input < kSensorInputs; ++input) {
    applyTableCaptions(*this, kTitleEntry, {{lblName[input], kItemEntry}});
    useAppFont({txtName[input]});
  }
  for (const AnalogControls& row : analogInputs) {
    applyTableCaptions(*this, kTitleEntry, {{row.lblFullScale, kFullScaleEntry}, {row.lblUnit, kUnitEntry}});
    useAppFont({row.txtUnit});
  }
  useAppFont({lblFileSizeUnit});
}

void frmRecodeSensorInput::showFileSize() {
  const auto map = recordingMap();
  if (!map) return;
  const SensorInputFileSize size = sensorInputFileSize(*map);
  txtFileSize->setText(size.size);
  lblFileSizeUnit->setText(size.unit);
}

// A bus or board map sets interval, stop method and minutes in its periodic
// set-up: here they are only shown.
void frmRecodeSensorInput::greyRecordingSections() {
  const bool greyed = recordsSensorInputs(recordingMap()->ifMode);
  for (QWidget* control : std::initializer_list<QWidget*>{
           lblInterval, cboInterval, lblSecond, lblEndMethod, fraRecode, lblFileSize, txtFileSize, lblFileSizeUnit,
           lblFreeDisk, txtFreeDisk, lblFreeDiskUnit, lblFreeDiskElse}) {
    control->setEnabled(!greyed);
  }
  if (!greyed) return;
  for (QWidget* control : std::initializer_list<QWidget*>{optEndMethod[0], optEndMethod[1], lblTime, txtTime, lblMinute}) {
    control->setEnabled(false);
  }
}

// ---- Section 4: the measurement inputs ----

void frmRecodeSensorInput::showSensorItems() {
  const auto map = recordingMap();
  fillSensorItems(::showSensorItems(*map), true);
  showSwitchPositions();
}

void frmRecodeSensorInput::showSwitchPositions() {
  const auto map = recordingMap();
  const int32_t positions[2] = {map->switch7, map->switch8};
  for (int i = 0; i < 2; ++i) {
    const QString name = sensorInputName(7 + i, positions[i]);
    if (!name.isEmpty()) chk[6 + i]->setText(name);
    // A fixed input has no range, offset, full scale or unit.
    const AnalogControls& row = analogInputs[static_cast<std::size_t>(i)];
    for (QWidget* control : std::initializer_list<QWidget*>{row.fra, row.optLevel[0], row.optLevel[1], row.lblOffset,
                                                            row.txtOffset, row.lblFullScale, row.txtFullScale,
                                                            row.lblUnit, row.txtUnit}) {
      control->setEnabled(positions[i] != 0);
    }
  }
}

void frmRecodeSensorInput::fillSensorItems(const SensorItemEntries& entries, bool withRanges) {
  for (int input = 0; input < kSensorInputs; ++input) {
    checkQuietly(chk[input], entries.checks[static_cast<std::size_t>(input)]);
    setTextQuietly(txtName[input], entries.names[static_cast<std::size_t>(input)]);
  }
  for (std::size_t i = 0; i < analogInputs.size(); ++i) {
    const AnalogControls& row = analogInputs[i];
    const AnalogEntry& entry = entries.analog[i];
    if (withRanges) {
      checkQuietly(row.optLevel[0], entry.range != kRange1V);
      checkQuietly(row.optLevel[1], entry.range == kRange1V);
    }
    setTextQuietly(row.txtOffset, entry.offset);
    setTextQuietly(row.txtFullScale, entry.fullScale);
    setTextQuietly(row.txtUnit, entry.unit);
  }
}

SensorItemEntries frmRecodeSensorInput::enteredItems() const {
  SensorItemEntries entries;
  for (int input = 0; input < kSensorInputs; ++input) {
    entries.checks[static_cast<std::size_t>(input)] = chk[input]->isChecked();
    entries.names[static_cast<std::size_t>(input)] = txtName[input]->text();
  }
  for (std::size_t i = 0; i < analogInputs.size(); ++i) {
    const AnalogControls& row = analogInputs[i];
    entries.analog[i] = {row.optLevel[1]->isChecked() ? kRange1V : kRange5V, row.txtOffset->text(),
                         row.txtFullScale->text(), row.txtUnit->text()};
  }
  return entries;
}

// While periodic recording runs the inputs can be looked at, not changed.
void frmRecodeSensorInput::sensorItemChanged() {
  const auto map = recordingMap();
  if (!map || !periodicRecordingRuns()) return;
  fillSensorItems(sensorItemsOf(*map), false);
  // A range the map does not know leaves the options as they are.
  const int32_t ranges[2] = {map->range7, map->range8};
  for (std::size_t i = 0; i < analogInputs.size(); ++i) {
    if (ranges[i] != kRange1V && ranges[i] != kRange5V) continue;
    checkQuietly(analogInputs[i].optLevel[0], ranges[i] == kRange5V);
    checkQuietly(analogInputs[i].optLevel[1], ranges[i] == kRange1V);
  }
}

bool frmRecodeSensorInput::checkSensorValues() {
  const std::optional<SensorValueBox> wrong = ::checkSensorValues(enteredItems());
  if (!wrong) return true;
  showRecordingMessage(recordingMessage(RecordingMessage::SensorValues));
  QLineEdit* const boxes[] = {analogInputs[0].txtOffset, analogInputs[1].txtOffset, analogInputs[0].txtFullScale,
                              analogInputs[1].txtFullScale};
  boxes[static_cast<int>(*wrong)]->setFocus();
  return false;
}

void frmRecodeSensorInput::saveSensorItems() {
  if (const auto map = recordingMap()) ::saveSensorItems(*map, enteredItems());
}

void frmRecodeSensorInput::cmdEnd_Click() {
  int32_t result = kRecodeReady;
  checkRecodeData(result);
  if (result != kRecodeReady || !checkSensorValues()) return;
  saveSensorItems();
  setSensorData();
  unload();
}

// ---- What the map window calls ----

void frmRecodeSensorInput::checkRecodeData(int32_t& result) {
  result = kRecodeReady;
  const auto map = recordingMap();
  if (!map) return;
  result = checkRecodeTime(*map);
  if (result == kRecodeReady) return;
  if (isVisible() && txtTime->isEnabled()) txtTime->setFocus();
  showRecordingMessage(recodeCheckMessage(result));
}

void frmRecodeSensorInput::whetherFileSizeOver(bool& over) {
  const auto map = recordingMap();
  over = map && sensorInputFileSizeOver(*map);
}

void frmRecodeSensorInput::setSensorData() {
  if (const auto map = recordingMap()) ::setSensorData(*map);
}

#include "recording/recode_conditions.h"

#include "frame/number_box.h"
#include "recording/recode_interval.h"
#include "recording/recording_map_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

#include <utility>

RecodeConditionControls::RecodeConditionControls(const Controls& controls, std::function<void()> sizeChanged,
                                                 QObject* parent)
    : QObject(parent), controls_(controls), sizeChanged_(std::move(sizeChanged)) {
  for (int32_t seconds : kRecodeIntervals) controls_.cboInterval->addItem(QString::number(seconds));
  controls_.cboInterval->setCurrentIndex(-1);
  // The rules put controls back while recording runs; those settings by
  // the program are made with the signals blocked, so a rule never runs
  // inside itself.
  connect(controls_.cboInterval, &QComboBox::currentIndexChanged, this, [this] { cboInterval_Click(); });
  for (int index = 0; index < 2; ++index) {
    connect(controls_.optEndMethod[index], &QRadioButton::toggled, this, [this, index](bool checked) {
      if (checked) optEndMethod_Click(index);
    });
  }
  connect(controls_.txtTime, &QLineEdit::textChanged, this, [this] { txtTime_Change(); });
}

void RecodeConditionControls::show() {
  const auto map = recordingMap();
  if (!map) return;
  selectStoredInterval();
  cboInterval_Click();
  const int method = map->recodeMethod != 0 ? 1 : 0;
  {
    const QSignalBlocker quiet(controls_.optEndMethod[method]);
    controls_.optEndMethod[method]->setChecked(true);
  }
  optEndMethod_Click(method);
  {
    const QSignalBlocker quiet(controls_.txtTime);
    controls_.txtTime->setText(QString::number(map->recodeTime));
  }
  txtTime_Change();
}

void RecodeConditionControls::selectStoredInterval() {
  const auto map = recordingMap();
  const int index = map ? recodeIntervalIndex(map->recodeInterval) : -1;
  // A value the list does not hold leaves the list as it is.
  if (index < 0) return;
  const QSignalBlocker quiet(controls_.cboInterval);
  controls_.cboInterval->setCurrentIndex(index);
}

void RecodeConditionControls::showStoredMethod() {
  const auto map = recordingMap();
  if (!map) return;
  const int method = map->recodeMethod != 0 ? 1 : 0;
  for (int index = 0; index < 2; ++index) {
    const QSignalBlocker quiet(controls_.optEndMethod[index]);
    controls_.optEndMethod[index]->setChecked(index == method);
  }
  enableTime(method == 1);
}

void RecodeConditionControls::enableTime(bool enabled) {
  for (QWidget* control : {static_cast<QWidget*>(controls_.lblTime), static_cast<QWidget*>(controls_.txtTime),
                           static_cast<QWidget*>(controls_.lblMinute)}) {
    control->setEnabled(enabled);
  }
}

void RecodeConditionControls::cboInterval_Click() {
  const auto map = recordingMap();
  if (!map) return;
  if (periodicRecordingRuns()) {
    selectStoredInterval();
    return;
  }
  map->recodeInterval = recodeIntervalFromText(controls_.cboInterval->currentText(), map->recodeInterval);
  sizeChanged_();
}

void RecodeConditionControls::optEndMethod_Click(int index) {
  const auto map = recordingMap();
  if (!map) return;
  if (periodicRecordingRuns()) {
    showStoredMethod();
    return;
  }
  enableTime(index == 1);
  map->recodeMethod = index == 1 ? 1 : 0;
  sizeChanged_();
}

void RecodeConditionControls::txtTime_Change() {
  const auto map = recordingMap();
  if (!map) return;
  if (periodicRecordingRuns()) {
    const QSignalBlocker quiet(controls_.txtTime);
    controls_.txtTime->setText(QString::number(map->recodeTime));
    return;
  }
  const MinutesEntry entry = minutesFromBox(controls_.txtTime->text());
  map->recodeTime = entry.minutes;
  if (entry.clamped) {
    const QSignalBlocker quiet(controls_.txtTime);
    controls_.txtTime->setText(QLatin1String(kMaxRecodeMinutesText));
  }
  sizeChanged_();
}

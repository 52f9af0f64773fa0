#include "records/frmCsvSetting.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/library/library_text.h"
#include "frame/library/tramsoll_api.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"
#include "records/csv_dates.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int kTitleEntry = 362;
constexpr int kIllegalDateEntry = 482;

// An option button is too narrow for a caption: the label beside it is its
// visible text.
constexpr int kOptionSize = 255;
constexpr int kLineHeight = 255;

}  // namespace

frmCsvSetting::frmCsvSetting() {
  setWindowTitle(QStringLiteral("CsvOutputSetting"));
  makeTimeFrame();
  makeHeaderFrame();
  go = placeControl<QPushButton>(this, {3720, 2040, 1575, 420}, QStringLiteral("GO"));
  go->setDefault(true);
  cmdCancel = placeControl<QPushButton>(this, {3720, 2640, 1575, 420}, QStringLiteral("Cancel"));
  connect(go, &QPushButton::clicked, this, [this] { go_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { unload(); });
  connect(Option1, &QRadioButton::toggled, this, [this](bool all) { enableSpan(!all); });
  for (QLabel* label : {Label1, Label2, L_HeaderON, L_HeaderOFF}) label->installEventFilter(this);
}

void frmCsvSetting::makeTimeFrame() {
  time = placeControl<QGroupBox>(this, {120, 60, 5235, 1800}, QStringLiteral("CSV output Time specification"));
  Option1 = placeControl<QRadioButton>(time, {240, 330, kOptionSize, kOptionSize});
  Label1 = placeControl<QLabel>(time, {570, 330, 3000, kLineHeight}, QStringLiteral("All data output"));
  Option2 = placeControl<QRadioButton>(time, {240, 690, kOptionSize, kOptionSize});
  Label2 = placeControl<QLabel>(time, {570, 690, 3600, kLineHeight}, QStringLiteral("Select Output data (Date Time)"));
  start = placeControl<QLabel>(time, {570, 1080, 1000, kLineHeight}, QStringLiteral("start date"));
  StartDate = placeControl<QLineEdit>(time, {1620, 1035, 2400, 330});
  endl = placeControl<QLabel>(time, {570, 1440, 1000, kLineHeight}, QStringLiteral("end date"));
  EndDate = placeControl<QLineEdit>(time, {1620, 1395, 2400, 330});
}

void frmCsvSetting::makeHeaderFrame() {
  header = placeControl<QGroupBox>(this, {120, 1920, 3360, 1200}, QStringLiteral("Header data"));
  L_Header = placeControl<QLabel>(header, {240, 330, 2000, kLineHeight}, QStringLiteral("Header Data Print "));
  Header_ON = placeControl<QRadioButton>(header, {240, 750, kOptionSize, kOptionSize});
  L_HeaderON = placeControl<QLabel>(header, {570, 750, 600, kLineHeight}, QStringLiteral("ON"));
  Header_OFF = placeControl<QRadioButton>(header, {1440, 750, kOptionSize, kOptionSize});
  L_HeaderOFF = placeControl<QLabel>(header, {1770, 750, 600, kLineHeight}, QStringLiteral("OFF"));
}

void frmCsvSetting::onLoad() {
  // Every opening starts from the design: all data, header rows, the span
  // disabled; the date boxes hold what the opener puts in.
  centreInMainWindowTwips(kWidth, kHeight);
  Option1->setChecked(true);
  Header_ON->setChecked(true);
  enableSpan(false);
  setControlCaptions();
}

void frmCsvSetting::setControlCaptions() {
  applyTableCaptions(*this, kTitleEntry,
                     {{time, 363}, {Label1, 364}, {Label2, 365}, {start, 366}, {endl, 367}, {header, 368},
                      {L_Header, 369}, {L_HeaderON, 50}, {L_HeaderOFF, 49}, {cmdCancel, 17}});
  if (captionsFromTable()) useAppFont({this, StartDate, EndDate});
}

void frmCsvSetting::enableSpan(bool enabled) {
  for (QWidget* control : std::initializer_list<QWidget*>{start, endl, StartDate, EndDate}) {
    control->setEnabled(enabled);
  }
}

bool frmCsvSetting::eventFilter(QObject* watched, QEvent* event) {
  // A click on an option's label chooses the option.
  if (event->type() == QEvent::MouseButtonPress) {
    const std::pair<QObject*, QRadioButton*> labelled[] = {
        {Label1, Option1}, {Label2, Option2}, {L_HeaderON, Header_ON}, {L_HeaderOFF, Header_OFF}};
    for (const auto& [label, option] : labelled) {
      if (watched == label && option->isEnabled()) option->setChecked(true);
    }
  }
  return DialogForm::eventFilter(watched, event);
}

void frmCsvSetting::go_Click() {
  // One conversion at a time.
  if (goRunning_ || program().csvOutputRunning) return;
  const CsvDateRequest request =
      csvDateRequest(StartDate->text(), EndDate->text(), Option1->isChecked(), Header_ON->isChecked());
  if (!request.ok) {
    showMessage(QStringLiteral("19-6"), tableText(kIllegalDateEntry), QStringLiteral("start date : ") + StartDate->text(),
                QStringLiteral("end date   : ") + EndDate->text());
    return;
  }
  tramsollApi().CsvDateSet(textForLibrary(request.start).constData(), textForLibrary(request.end).constData(),
                           request.flags);
  goRunning_ = true;
  emit csvOutputWanted();
  goRunning_ = false;
  unload();
}

void frmCsvSetting::unloadUnlessGoRuns() {
  if (!goRunning_) unload();
}

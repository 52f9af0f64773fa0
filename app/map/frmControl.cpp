#include "map/frmControl.h"

#include "frame/icon_cache.h"
#include "frame/library/tramsoll_client.h"
#include "frame/main_window.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "frame/window_controls.h"
#include "frame/map_title.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

constexpr int kRefreshMs = 3000;
constexpr int kSendMs = 1000;
constexpr int kEndMs = 2000;
constexpr int kTitleText = 212;
constexpr int kStatusText = 393;
constexpr int kFanText = 230;
constexpr int kHeatingText = 231;
constexpr int kCoolingText = 232;
constexpr int kUnknownModeText = 242;
constexpr int kColumns = 16;
constexpr int kIconPixels = 20;

// The library's "leave as it is" for each part of a command.
constexpr int32_t kUnchanged = 256;
constexpr float kSetPointUnchanged = 256.0f;
constexpr float kLowestSetPoint = 0.0f;
constexpr float kHighestSetPoint = 35.0f;

// Modes the library reports, by the text-table entry that names them;
// 3, 5 and 14 on are unknown.
int modeTextEntry(int32_t mode) {
  static constexpr std::array<int, 14> kEntries{230, 231, 232, 0, 233, 0, 234, 235, 236, 237, 238, 239, 240, 241};
  if (mode < 0 || mode >= static_cast<int32_t>(kEntries.size())) return kUnknownModeText;
  const int entry = kEntries[static_cast<std::size_t>(mode)];
  return entry ? entry : kUnknownModeText;
}

// The picture of an address button by the library's two fields: the
// "Water" ground marks the selected address. A unit whose status has not
// arrived (run state 2) is white: neither running nor stopped. None leaves
// the picture as it was (presence 2).
std::optional<QString> addressPicture(int32_t presence, int32_t runState, bool selected) {
  const char* state = nullptr;
  if (presence == 3) {
    state = "Magenta";
  } else if (presence == 1 && runState == 2) {
    state = "White";
  } else if (presence == 1 && runState == 0) {
    state = "Gray";
  } else if (presence == 1 && runState == 1) {
    state = "Green";
  } else if (presence == 1 && runState == 3) {
    state = "Red";
  }
  if (!state) return std::nullopt;
  return QStringLiteral("icons/KX_%1_%2.ico").arg(QLatin1String(state), QLatin1String(selected ? "Water" : "White"));
}

bool selectable(int32_t presence) { return presence == 1 || presence == 3; }

// The shortest text that reads back as the same single-precision value.
QString setPointText(float value) {
  std::array<char, 32> text{};
  const auto written = std::to_chars(text.data(), text.data() + text.size(), value);
  return QString::fromLatin1(text.data(), written.ptr - text.data());
}

std::optional<float> setPointOfText(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  float value = 0;
  const auto read = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), value);
  if (read.ec != std::errc() || read.ptr != bytes.constData() + bytes.size()) return std::nullopt;
  return value;
}

QPushButton* button(QWidget* parent, const char* caption, int left, int top, int width, int height) {
  return placeControl<QPushButton>(parent, QRect(left, top, width, height), QString::fromLatin1(caption));
}

QLabel* label(QWidget* parent, const char* caption, int left, int top, int width = 1500) {
  return placeControl<QLabel>(parent, QRect(left, top, width, 270), QString::fromLatin1(caption));
}

QLineEdit* displayBox(QWidget* parent, int left, int top, int width) {
  auto* box = placeControl<QLineEdit>(parent, QRect(left, top, width, 270));
  box->setReadOnly(true);
  return box;
}

QTimer* timer(QObject* parent, int interval) {
  auto* made = new QTimer(parent);
  made->setInterval(interval);
  return made;
}

}  // namespace

frmControl::frmControl() {
  setWindowTitle(QStringLiteral("Centralized Operation"));
  setCloseBox(CloseBox::None);
  makeAddressButtons();
  makeOperationControls();
  makeTimers();
  keys_.previewKeysOf(*this);
}

void frmControl::makeAddressButtons() {
  picAirCons = placeControl<QWidget>(this, QRect(250, 330, 5965, 1850));
  for (int i = 0; i < kAddressesPerPage; ++i) {
    const int left = 75 + 360 * (i % kColumns);
    const int top = 75 + 425 * (i / kColumns);
    auto* address = placeControl<QToolButton>(picAirCons, QRect(left, top, 350, 350));
    address->setIconSize(QSize(kIconPixels, kIconPixels));
    address->setFocusPolicy(Qt::StrongFocus);
    address->installEventFilter(this);
    cmdAircon[static_cast<std::size_t>(i)] = address;
  }
  for (int column = 0; column < kColumns; ++column) {
    const QString caption = QStringLiteral("%1").arg(column, 2, 10, QLatin1Char('0'));
    lblCol[static_cast<std::size_t>(column)] =
        placeControl<QLabel>(this, QRect(250 + 75 + 360 * column, 90, 350, 240), caption);
  }
  for (int row = 0; row < 4; ++row) {
    lblRow[static_cast<std::size_t>(row)] = placeControl<QLabel>(this, QRect(100, 525 + 425 * row, 150, 240));
  }
}

void frmControl::makeOperationControls() {
  fra1 = placeControl<QGroupBox>(this, QRect(120, 2200, 1100, 1300));
  cmdUp = button(fra1, "Up (F1)", 90, 250, 900, 400);
  cmdDown = button(fra1, "Down (F2)", 90, 750, 900, 400);
  fra2 = placeControl<QGroupBox>(this, QRect(1170, 2200, 6850, 1300));
  cmdRun = button(fra2, "Ope. (F3)", 125, 250, 900, 400);
  cmdStop = button(fra2, "Stop (F4)", 125, 750, 900, 400);
  lblTemp = label(fra2, "Temp.", 1200, 405, 800);
  txtTemp = displayBox(fra2, 1150, 825, 575);
  lblC = label(fra2, "C", 1770, 870, 250);
  cmdTempUp = button(fra2, "Up (F5)", 2050, 250, 800, 400);
  cmdTempDown = button(fra2, "D (F6)", 2050, 750, 800, 400);
  cmdCool = button(fra2, "Cool. (F7)", 3000, 250, 900, 400);
  cmdWarm = button(fra2, "Heat. (F8)", 3900, 250, 900, 400);
  cmdWind = button(fra2, "Fan (F9)", 4800, 250, 900, 400);
  lblMode = label(fra2, "Ope. mode", 3000, 855, 900);
  txtMode = displayBox(fra2, 3900, 800, 1800);
  lblErrorCode = label(fra2, "Error code", 5880, 405, 900);
  txtErrorCode = displayBox(fra2, 5850, 800, 850);
  cmdCancel = button(this, "Cancel (Esc)", 6400, 315, 1500, 500);
  lblManageChuou = label(this, "Under central control", 6400, 1005);
  lblManageKyousei = label(this, "Under forced stop", 6400, 1300);
  lblManageShuchu = label(this, "On cent. control", 6400, 1600);
  lblManageKirikae = label(this, "On ope. change ctl.", 6400, 1900);
  for (QLabel* flag : {lblManageChuou, lblManageKyousei, lblManageShuchu, lblManageKirikae}) {
    flag->setAlignment(Qt::AlignCenter);
    flag->hide();
  }

  keys_.add(Qt::Key_F1, cmdUp, this, [this] { showPage(false); });
  keys_.add(Qt::Key_F2, cmdDown, this, [this] { showPage(true); });
  keys_.add(Qt::Key_F3, cmdRun, this, [this] { cmdRun_Click(true); });
  keys_.add(Qt::Key_F4, cmdStop, this, [this] { cmdRun_Click(false); });
  keys_.add(Qt::Key_F5, cmdTempUp, this, [this] { stepSetPoint(+1); });
  keys_.add(Qt::Key_F6, cmdTempDown, this, [this] { stepSetPoint(-1); });
  keys_.add(Qt::Key_F7, cmdCool, this, [this] { requestMode(2); });
  keys_.add(Qt::Key_F8, cmdWarm, this, [this] { requestMode(1); });
  keys_.add(Qt::Key_F9, cmdWind, this, [this] { requestMode(0); });
  keys_.add(Qt::Key_Escape, cmdCancel, this, [this] { cancel(); });

  // The address buttons first, then the operation controls as they stand.
  QWidget* previous = cmdAircon.back();
  for (QWidget* next : std::initializer_list<QWidget*>{cmdUp, cmdDown, cmdRun, cmdStop, txtTemp, cmdTempUp,
                                                       cmdTempDown, cmdCool, cmdWarm, cmdWind, txtMode, txtErrorCode,
                                                       cmdCancel}) {
    setTabOrder(previous, next);
    previous = next;
  }
  for (std::size_t i = 1; i < cmdAircon.size(); ++i) setTabOrder(cmdAircon[i - 1], cmdAircon[i]);
}

void frmControl::makeTimers() {
  tmrForRefreshAll = timer(this, kRefreshMs);
  tmrForSendCommand = timer(this, kSendMs);
  tmrForEnd = timer(this, kEndMs);
  connect(tmrForRefreshAll, &QTimer::timeout, this, [this] { tmrForRefreshAll_Timer(); });
  connect(tmrForSendCommand, &QTimer::timeout, this, [this] { tmrForSendCommand_Timer(); });
  connect(tmrForEnd, &QTimer::timeout, this, [this] { tmrForEnd_Timer(); });
}

// ---- Load and activation ----

void frmControl::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  // The captions first: the title is the map's, built after them.
  applyCaptionTexts();
  const QString title = tableText(kTitleText);
  setWindowTitle(mapQ7netObj ? mapWindowTitle(title, *mapQ7netObj) : title);
  secondPage_ = false;
  showPageLabels();
  readScAdrInfo();
  setSelectedAddress(-1);
  keepSelectedAddress();
  drawAddressButtons();
  showSelectedStatus();
  tmrForRefreshAll->start();
  tmrForSendCommand->start();
  clearCommandRequests();
  pageBusy_ = refreshBusy_ = false;
  tmrForEnd->stop();
  controlIdle_ = true;
  flagForEnd = false;
  focusFirstControl();
}

// The first address button shown, or the first control after it in the tab
// order, holds the focus when the window is shown: it is the selection, and
// the window's keys reach the window, not the one it was opened from.
void frmControl::focusFirstControl() {
  QWidget* control = cmdAircon.front();
  do {
    if (!control->isHidden() && control->isEnabled() && (control->focusPolicy() & Qt::TabFocus)) {
      control->setFocus(Qt::TabFocusReason);
      return;
    }
    control = control->nextInFocusChain();
  } while (control != cmdAircon.front() && isAncestorOf(control));
}

void frmControl::onUnload() {
  for (QTimer* each : {tmrForRefreshAll, tmrForSendCommand, tmrForEnd}) each->stop();
}

void frmControl::applyCaptionTexts() {
  applyTableCaptions(*this, kTitleText,
                     {{cmdUp, 213}, {cmdDown, 214}, {cmdRun, 215}, {cmdStop, 216}, {lblTemp, 217}, {lblC, 218},
                      {cmdTempUp, 219}, {cmdTempDown, 220}, {cmdCool, 221}, {cmdWarm, 222}, {cmdWind, 223},
                      {lblMode, 224}, {lblErrorCode, 225}, {cmdCancel, 17}, {lblManageChuou, 226},
                      {lblManageKyousei, 227}, {lblManageShuchu, 228}, {lblManageKirikae, 229}});
  if (captionsFromTable()) useAppFont({txtMode});
}

void frmControl::onActivate() { setMainStatusText(tableText(kStatusText)); }

// ---- The address table and the selection ----

void frmControl::readScAdrInfo() {
  tramsollApi().getQ7ScAdrInfo(adrPresence.data(), adrRunState.data(), &centralControlFlag, &forcedStopFlag);
}

void frmControl::setSelectedAddress(int32_t address) {
  // Requests belong to the address they were made for.
  if (address != selectedAddress_) clearCommandRequests();
  selectedAddress_ = address;
}

void frmControl::keepSelectedAddress() {
  const int32_t first = firstAddressOfPage();
  const int32_t end = first + kAddressesPerPage;
  // The selection stays while its unit is there, else the next present
  // address of the page (round to its start) takes it.
  const int32_t from = selectedAddress_ >= first && selectedAddress_ < end ? selectedAddress_ : first;
  for (int32_t step = 0; step < kAddressesPerPage; ++step) {
    const int32_t address = first + (from - first + step) % kAddressesPerPage;
    if (selectable(adrPresence[static_cast<std::size_t>(address)])) {
      setSelectedAddress(address);
      return;
    }
  }
  setSelectedAddress(-1);
}

void frmControl::drawAddressButtons() {
  const int32_t first = firstAddressOfPage();
  for (int i = 0; i < kAddressesPerPage; ++i) {
    QToolButton* address = cmdAircon[static_cast<std::size_t>(i)];
    const auto at = static_cast<std::size_t>(first + i);
    if (adrPresence[at] == 0) {
      address->hide();
      continue;
    }
    address->show();
    const std::optional<QString> picture =
        addressPicture(adrPresence[at], adrRunState[at], first + i == selectedAddress_);
    if (picture) address->setIcon(programIcon(*picture).value_or(QIcon()));
  }
  lblManageChuou->setVisible(centralControlFlag != 0);
  lblManageKyousei->setVisible(forcedStopFlag != 0);
}

void frmControl::showSelectedStatus() {
  const bool selected = selectedAddress_ >= 0;
  for (QWidget* control : std::initializer_list<QWidget*>{cmdRun, cmdStop, cmdTempUp, cmdTempDown, lblTemp, lblC, cmdCool,
                                                          cmdWarm, cmdWind, lblMode, lblErrorCode}) {
    control->setEnabled(selected);
  }
  const CentralStatus status = selected ? TramsollClient().centralStatus(selectedAddress_) : CentralStatus{};
  // Without a status from the library (none selected, or its status has not
  // arrived) nothing is shown that Up and Down could build a command from.
  if (!selected || status.result != 0) {
    if (!requests_.setPointAsked()) txtTemp->clear();
    txtErrorCode->clear();
    txtMode->clear();
    lblManageKirikae->hide();
    lblManageShuchu->hide();
    return;
  }
  // A set point asked for stays in its box until it has been sent.
  if (!requests_.setPointAsked()) txtTemp->setText(setPointText(status.setPoint));
  txtErrorCode->setText(status.errorCode.left(2));
  txtMode->setText(tableText(modeTextEntry(status.mode)));
  lblManageKirikae->setVisible(status.pendingFlag != 0);
  lblManageShuchu->setVisible(status.runFlag != 0);
}

void frmControl::showPageLabels() {
  cmdUp->setEnabled(secondPage_);
  cmdDown->setEnabled(!secondPage_);
  const int firstGroup = secondPage_ ? 5 : 1;
  for (std::size_t row = 0; row < lblRow.size(); ++row) {
    lblRow[row]->setText(QString::number(firstGroup + static_cast<int>(row)));
  }
}

bool frmControl::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    const auto found = std::find(cmdAircon.begin(), cmdAircon.end(), watched);
    if (found != cmdAircon.end()) cmdAircon_GotFocus(static_cast<int>(found - cmdAircon.begin()));
  }
  return ChildForm::eventFilter(watched, event);
}

void frmControl::cmdAircon_GotFocus(int index) {
  if (flagForEnd) return;
  controlIdle_ = false;
  setSelectedAddress(firstAddressOfPage() + index);
  drawAddressButtons();
  showSelectedStatus();
  controlIdle_ = true;
}

void frmControl::showPage(bool second) {
  if (flagForEnd || pageBusy_) return;
  controlIdle_ = false;
  pageBusy_ = true;
  setCursor(Qt::WaitCursor);
  secondPage_ = second;
  showPageLabels();
  keepSelectedAddress();
  drawAddressButtons();
  showSelectedStatus();
  pageBusy_ = false;
  unsetCursor();
  controlIdle_ = true;
}

// ---- Requests ----

void frmControl::showSelectedIcon(const char* picture) {
  const int32_t index = selectedAddress_ - firstAddressOfPage();
  if (index < 0 || index >= kAddressesPerPage) return;
  const QString file = QStringLiteral("icons/") + QLatin1String(picture);
  cmdAircon[static_cast<std::size_t>(index)]->setIcon(programIcon(file).value_or(QIcon()));
}

void frmControl::cmdRun_Click(bool run) {
  requests_.run = run;
  requests_.stop = !run;
  // The engineer sees the request at once; the next refresh shows the unit.
  showSelectedIcon(run ? "KX_Green_Water.ico" : "KX_Gray_Water.ico");
}

void frmControl::requestMode(int32_t mode) {
  requests_.cool = mode == 2;
  requests_.heat = mode == 1;
  requests_.fan = mode == 0;
  txtMode->setText(tableText(mode == 2 ? kCoolingText : mode == 1 ? kHeatingText : kFanText));
}

void frmControl::stepSetPoint(float step) {
  const std::optional<float> shown = setPointOfText(txtTemp->text());
  if (!shown) return;
  const float wanted = std::clamp(*shown + step, kLowestSetPoint, kHighestSetPoint);
  txtTemp->setText(setPointText(wanted));
  requests_.setPoint = wanted;
  requests_.tempUp = step > 0;
  requests_.tempDown = step < 0;
}

// ---- Timers ----

void frmControl::tmrForSendCommand_Timer() {
  if (flagForEnd || !requests_.any() || selectedAddress_ < 0 || selectedAddress_ >= kAddressCount) return;
  controlIdle_ = false;
  tmrForRefreshAll->stop();
  const int32_t onOff = requests_.run ? 1 : requests_.stop ? 0 : kUnchanged;
  const int32_t mode = requests_.cool ? 2 : requests_.heat ? 1 : requests_.fan ? 0 : kUnchanged;
  const float setPoint = requests_.setPointAsked() ? requests_.setPoint : kSetPointUnchanged;
  tramsollApi().setQ7ScAdrCommand(selectedAddress_, onOff, mode, setPoint);
  clearCommandRequests();
  tmrForRefreshAll->start();
  controlIdle_ = true;
}

void frmControl::tmrForRefreshAll_Timer() {
  if (flagForEnd || refreshBusy_) return;
  controlIdle_ = false;
  refreshBusy_ = true;
  readScAdrInfo();
  keepSelectedAddress();
  drawAddressButtons();
  showSelectedStatus();
  refreshBusy_ = false;
  controlIdle_ = true;
}

// ---- Closing ----

void frmControl::prepareForEndFormControl() {
  tmrForRefreshAll->stop();
  tmrForSendCommand->stop();
  flagForEnd = true;
  clearCommandRequests();
  tmrForEnd->start();
  hideSubWindow();
}

void frmControl::tmrForEnd_Timer() {
  if (flagForEnd && controlIdle_) closeControlWindow();
}

void frmControl::closeControlWindow() {
  tmrForEnd->stop();
  unload();
  emit closed();
}

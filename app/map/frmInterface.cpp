#include "map/frmInterface.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/gathering.h"
#include "frame/library/tramsoll_client.h"
#include "frame/main_window.h"
#include "frame/map_title.h"
#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "frame/window_roads.h"
#include "map/frmMap.h"
#include "map/frmStopQ7netAircon.h"
#include "map/map_lifecycle.h"
#include "map/map_merge.h"

#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>

namespace {

enum Method { kQ7Bus = 0, kBoard = 1, kSensorOnly = 2 };
constexpr int32_t kSystemRows = 0;  // 'P' rows of the setting file: whole systems
constexpr int32_t kUnitRows = 1;    // 'S' rows: single units
constexpr int32_t kPlusAdapter = 1;

QLabel* label(QWidget* parent, const char* text, int32_t left, int32_t top, int32_t width) {
  auto* made = new QLabel(QString::fromLatin1(text), parent);
  made->setGeometry(twipsRect(left, top, width, 270));
  return made;
}

int32_t modelRowCount(int32_t rowKind) {
  int32_t count = 0;
  tramsollApi().getRAMKishuNum(rowKind, &count);
  return std::max(count, 0);
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

void showNumbered(const char* key, int entry1, int entry2, int entry3 = -1) {
  showMessage(QString::fromLatin1(key), tableText(entry1), tableText(entry2), tableText(entry3));
}

}  // namespace

frmInterface::frmInterface() {
  setWindowTitle(QStringLiteral("Access Method Selection"));
  setCloseBox(CloseBox::None);
  lblMapName = label(this, "1. Network map name", 240, 180, 3000);
  txtMapName = new QLineEdit(this);
  txtMapName->setGeometry(twipsRect(240, 480, 5100, 330));
  lblMethod = label(this, "2. Access method", 240, 960, 3000);
  const std::array<const char*, 3> methods{"QVII-NET", "PCB connection", "Sensor input only"};
  for (std::size_t i = 0; i < optMethod.size(); ++i) {
    optMethod[i] = new QRadioButton(QString::fromLatin1(methods[i]), this);
    optMethod[i]->setGeometry(twipsRect(480, 1260 + 330 * static_cast<int32_t>(i), 2300, 300));
    connect(optMethod[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) optMethod_Click(static_cast<int>(i));
    });
  }
  lblPBoardConect = label(this, "Typical model selection", 2880, 1260, 2500);
  cboPBoardConect = new QComboBox(this);
  cboPBoardConect->setGeometry(twipsRect(2880, 1560, 2460, 330));
  connect(cboPBoardConect, &QComboBox::currentIndexChanged, this, [this] { cboPBoardConect_Click(); });
  cmdFix = new QPushButton(QStringLiteral("OK (F1)"), this);
  cmdFix->setGeometry(twipsRect(900, 2580, 1800, 420));
  cmdCancel = new QPushButton(QStringLiteral("Cancel (Esc)"), this);
  cmdCancel->setGeometry(twipsRect(3000, 2580, 1800, 420));
  connect(cmdFix, &QPushButton::clicked, this, [this] { cmdFix_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cancel(); });
  keys_.add(Qt::Key_F1, cmdFix);
  keys_.add(Qt::Key_Escape, cmdCancel);
}

void frmInterface::showForMap(int32_t mode, int32_t mapNameMode, std::shared_ptr<MapQ7net> mapForEdit) {
  unload();  // a new opening loads afresh
  interfaceMode = mode;
  interfaceMapNameMode = mapNameMode;
  mapQ7netForEdit = std::move(mapForEdit);
  showForm();
  txtMapName->setFocus();
}

void frmInterface::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  showCaption();
  ProgramValues& values = program();
  values.gatherInterval = 5;
  const bool renaming = interfaceMapNameMode == kRenameMap;
  txtMapName->setText(renaming && mapQ7netForEdit ? mapQ7netForEdit->mapName : QString());
  for (QRadioButton* option : optMethod) option->setEnabled(true);
  lblMethod->setEnabled(true);
  if (isBusAccess(values.gatherMode)) {
    chooseMethod(kQ7Bus);
  } else if (isBoardAccess(values.gatherMode)) {
    chooseMethod(kBoard);
  } else {
    chooseMethod(kSensorOnly);
  }
  if (renaming) {
    for (QWidget* widget : std::initializer_list<QWidget*>{lblMethod, lblPBoardConect, cboPBoardConect, optMethod[0],
                                                          optMethod[1], optMethod[2]}) {
      widget->setEnabled(false);
    }
  }
  if (values.adapterOptions[0] == kPlusAdapter) {
    // The Plus adapter reaches the Q7 bus only.
    chooseMethod(kQ7Bus);
    optMethod[kBoard]->setEnabled(false);
    optMethod[kSensorOnly]->setEnabled(false);
  }
}

void frmInterface::showCaption() {
  const QString customer = currentCustomer().name;
  setWindowTitle(customer.isEmpty() ? tableText(98) : tableText(98) + QLatin1Char('(') + customer + QLatin1Char(')'));
  txtMapName->setFont(appFont());
  cboPBoardConect->setFont(appFont());
  if (!captionsFromTable()) return;
  const std::array<std::pair<QWidget*, int>, 8> captions{{{lblMapName, 99},
                                                          {lblMethod, 100},
                                                          {optMethod[0], 102},
                                                          {optMethod[1], 103},
                                                          {lblPBoardConect, 104},
                                                          {optMethod[2], 105},
                                                          {cmdFix, 106},
                                                          {cmdCancel, 17}}};
  for (const auto& [widget, entry] : captions) {
    widget->setProperty("text", tableText(entry));
    widget->setFont(appFont());
  }
}

void frmInterface::onActivate() { setMainStatusText(tableText(interfaceMapNameMode == kRenameMap ? 386 : 385)); }

void frmInterface::keyPressEvent(QKeyEvent* event) {
  if (keys_.handle(event)) return;
  ChildForm::keyPressEvent(event);
}

// ---- Choosing a method and a model ----

// Switching an option on runs its handler, also when it was on already.
void frmInterface::chooseMethod(int index) {
  QRadioButton* option = optMethod[static_cast<std::size_t>(index)];
  if (option->isChecked()) {
    optMethod_Click(index);
  } else {
    option->setChecked(true);
  }
}

void frmInterface::optMethod_Click(int index) {
  ProgramValues& values = program();
  const bool board = index == kBoard;
  lblPBoardConect->setEnabled(board);
  cboPBoardConect->setEnabled(board);
  if (index == kQ7Bus) values.gatherMode = 2;
  if (index == kSensorOnly) values.gatherMode = 1;
  if (board) fillModelList();
}

void frmInterface::fillModelList() {
  TramsollClient client;
  {
    const QSignalBlocker quiet(cboPBoardConect);
    cboPBoardConect->clear();
    boardSystemModels_ = modelRowCount(kSystemRows);
    for (int32_t i = 1; i <= boardSystemModels_; ++i) cboPBoardConect->addItem(client.ramModelName(kSystemRows, i).text);
    boardUnitModels_ = modelRowCount(kUnitRows);
    for (int32_t i = 1; i <= boardUnitModels_; ++i) cboPBoardConect->addItem(client.ramModelName(kUnitRows, i).text);
    cboPBoardConect->setCurrentIndex(cboPBoardConect->count() > 0 ? 0 : -1);
  }
  if (boardSystemModels_ + boardUnitModels_ > 0) {
    cboPBoardConect_Click();
    return;
  }
  program().gatherMode = 4;
  program().gatherTarget = QStringLiteral(" ");
}

void frmInterface::cboPBoardConect_Click() {
  ProgramValues& values = program();
  const QString chosen = cboPBoardConect->currentText();
  values.gatherTarget = chosen.isEmpty() ? QStringLiteral(" ") : chosen;
  const bool anyModel = boardSystemModels_ + boardUnitModels_ > 0;
  values.gatherMode = anyModel && cboPBoardConect->currentIndex() >= boardSystemModels_ ? 8 : 4;
}

// ---- OK ----

void frmInterface::cmdFix_Click() {
  ProgramValues& values = program();
  if (values.workMode == kWorkRecording) {
    if (values.csvOutputRunning) return showMessage(QStringLiteral("5-4"), QString(), tableText(426), QString());
    if (values.dataTransferRunning) return showMessage(QStringLiteral("5-5"), QString(), tableText(427), QString());
  }
  const QString name = txtMapName->text().trimmed();
  if (!nameAccepted(name)) return;
  if (interfaceMapNameMode == kRenameMap) return rename(name);
  if (isBusAccess(values.gatherMode)) {
    if (!values.centralOperation) return showNumbered("12-1", 451, 452, 453);
    frmStopQ7netAircon& warning = frmStopQ7netAircon::instance();
    warning.idCalledFrom = 0;
    warning.askModal([this] { doFix(); });
    return;
  }
  doFix();
}

// A customer's maps need names of their own; a sensor-input-only map needs
// none, but a rename always does.
bool frmInterface::nameAccepted(const QString& name) {
  const bool renaming = interfaceMapNameMode == kRenameMap;
  if (interfaceMode != kForCustomer || (program().gatherMode == 1 && !renaming)) return true;
  if (name.isEmpty()) {
    showMessage(QStringLiteral("5-1"), QString(), tableText(421), QString());
    txtMapName->setFocus();
    return false;
  }
  for (const auto& map : currentCustomer().q7nets) {
    if (!sameName(map->mapName, name)) continue;
    if (renaming && mapQ7netForEdit && sameName(mapQ7netForEdit->mapName, name)) continue;
    showMessage(QStringLiteral("5-2"), QString(), tableText(422), tableText(423));
    txtMapName->setFocus();
    return false;
  }
  return true;
}

void frmInterface::rename(const QString& name) {
  if (mapQ7netForEdit) mapQ7netForEdit->mapName = name;
  unload();
  takeWindowRoad(WindowRoad::MapsList);
  saveCustomerFileShowingRefusal();
}

void frmInterface::doFix() {
  TramsollApi& api = tramsollApi();
  ProgramValues& values = program();
  sendCentralOperation(api);
  values.gatherQ7Init = 1;
  const int32_t result = startGathering(api);
  if (result != 0) {
    // Nothing stays started; only a port that is missing or taken explains itself.
    stopGathering(api);
    if (result == 3) showNumbered("5-3", 424, 425);
    return;
  }
  frmMap& window = frmMap::instance();
  window.openOnScan(newMap());
  unload();
  window.showForm();
  window.setFocus();
}

std::shared_ptr<MapQ7net> frmInterface::newMap() const {
  const CustomInfor& customer = currentCustomer();
  const ProgramValues& values = program();
  auto map = std::make_shared<MapQ7net>();
  map->customName = customer.name;
  map->mapName = txtMapName->text().trimmed();
  map->mapNumber = customer.q7nets.count() + 1;
  map->ifMode = values.gatherMode;
  map->generalKind = map->ifMode == 4 || map->ifMode == 8 ? values.gatherTarget : QString();
  const QDate today = QDate::currentDate();
  map->saveYear = today.year();
  map->saveMonth = today.month();
  map->saveDay = today.day();
  int32_t highestIndex = 0;
  for (const auto& held : customer.q7nets) highestIndex = std::max(highestIndex, held->mapIndex);
  map->mapIndex = highestIndex + 1;
  return map;
}

// ---- Cancel ----

void frmInterface::cancel() {
  unload();
  if (interfaceMapNameMode != kRenameMap && interfaceMode == kRecordOnly) {
    takeWindowRoad(WindowRoad::CustomerList);
  } else {
    takeWindowRoad(WindowRoad::MapsList);
  }
}

#include "records/frmCustomsData.h"

#include "frame/dialogs/ask_yes_no.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/grid.h"
#include "frame/library/tramsoll_api.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/site/paths.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "records/data_show_catalogue.h"
#include "records/data_show_cells.h"
#include "records/data_show_replay.h"
#include "records/frmTriggerConditionShow.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <set>

namespace {

constexpr int kButtonWidth = 1730;
constexpr int kButtonHeight = 480;
constexpr int kButtonStep = 540;
constexpr int kSmallestInner = 3400;
// The window's outer size is its client area and its frame.
constexpr int kFrameWidth = 110;
constexpr int kFrameHeight = 390;

constexpr int kTitleText = 281;
constexpr int kFirstButtonText = 282;  // the four file buttons: 282 .. 285
constexpr int kCancelText = 17;
constexpr int kStatusText = 399;
constexpr int kDeleteQuestionText = 330;
constexpr int kOneRowOnlyText = 469;
constexpr int kPeriodicOnlyText = 470;

constexpr int32_t kPeriodicRecord = 1;
constexpr int32_t kTriggerRecord = 2;

QPushButton* newButton(const char* caption, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->resize(twipsToPixels(kButtonWidth), twipsToPixels(kButtonHeight));
  return button;
}

void closeTriggerConditionShow() { frmTriggerConditionShow::instance().unload(); }

}  // namespace

frmCustomsData::frmCustomsData() {
  setWindowTitle(QStringLiteral("Customer Data Selection"));
  grdList = new QTableWidget(0, kDataShowColumnCount, this);
  Grid(*grdList).selectWholeRows();
  grdList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  grdList->verticalHeader()->hide();
  grdList->setWordWrap(false);
  grdList->installEventFilter(this);
  // The focus given to the window goes to its list.
  setFocusProxy(grdList);
  connect(grdList, &QTableWidget::cellDoubleClicked, this, [this] {
    if (cmdDataShow->isEnabled()) cmdDataShow_Click();
  });

  cmdDataShow = newButton("Ope. data disp. (F1)", this);
  cmdTrigConShow = newButton("Trig. cond. disp. (F2)", this);
  cmdCsv = newButton("CSV data output (F3)", this);
  cmdDelete = newButton("Delete (F9)", this);
  cmdCancel = newButton("Cancel (Esc)", this);
  connect(cmdDataShow, &QPushButton::clicked, this, [this] { cmdDataShow_Click(); });
  connect(cmdTrigConShow, &QPushButton::clicked, this, [this] { cmdTrigConShow_Click(); });
  // cmdCsv: the CSV export of the chosen file comes with its own options
  // window; until then the button does nothing.
  connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cancel(); });
  const std::pair<int, QPushButton*> keys[] = {{Qt::Key_F1, cmdDataShow}, {Qt::Key_F2, cmdTrigConShow},
                                               {Qt::Key_F3, cmdCsv},      {Qt::Key_F9, cmdDelete},
                                               {Qt::Key_Escape, cmdCancel}};
  for (const auto& [key, button] : keys) keys_.add(key, button);

  tmrForDeleteData = new QTimer(this);
  tmrForDeleteData->setInterval(kDeleteWaitMs);
  connect(tmrForDeleteData, &QTimer::timeout, this, [this] { tmrForDeleteData_Timer(); });
  tmrForEnd = new QTimer(this);
  tmrForEnd->setInterval(kEndWaitMs);
  connect(tmrForEnd, &QTimer::timeout, this, [this] { tmrForEnd_Timer(); });
}

bool frmCustomsData::flagTrigConShow() const { return frmTriggerConditionShow::instance().isLoaded(); }

// ---- Opening ----

void frmCustomsData::onLoad() {
  setGeometryTwips(0, 0, kClientWidth + kFrameWidth, kClientHeight + kFrameHeight);
  selectedRow = 0;
  pendingDeletion_.reset();
  setControlCaptions();
  makeDataShowList();
  setListGridHeader();
  showDataShowList();
  program().customsDataOpen = true;
  tmrForEnd->stop();
  flagListReady = true;
  dataShowForms.clearFlagForEnd();
  layOutControls();
}

void frmCustomsData::onUnload() {
  tmrForEnd->stop();
  tmrForDeleteData->stop();
  ProgramValues& values = program();
  values.customsDataOpen = false;
  values.dataFunction = kDataFree;
}

void frmCustomsData::onActivate() { setMainStatusText(tableText(kStatusText)); }

void frmCustomsData::setControlCaptions() {
  grdList->setFont(appFont());
  if (!captionsFromTable()) return;
  setWindowTitle(tableText(kTitleText));
  QPushButton* const fileButtons[] = {cmdDataShow, cmdTrigConShow, cmdCsv, cmdDelete};
  int entry = kFirstButtonText;
  for (QPushButton* button : fileButtons) button->setText(tableText(entry++));
  cmdCancel->setText(tableText(kCancelText));
  for (QPushButton* button : {cmdDataShow, cmdTrigConShow, cmdCsv, cmdDelete, cmdCancel}) button->setFont(appFont());
}

// ---- The catalogue and its grid ----

void frmCustomsData::makeDataShowList() {
  flagListReady = false;
  dataShowManagerObj = ::makeDataShowList(programFolder(), tramsollApi()).catalogue;
}

void frmCustomsData::clearDataShowList() {
  if (dataShowManagerObj) ::clearDataShowList(*dataShowManagerObj);
  dataShowManagerObj.reset();
}

void frmCustomsData::setListGridHeader() {
  // The width decides once: resizing later keeps the columns.
  const int formWidth = subWindow() ? pixelsToTwips(subWindow()->width()) : kClientWidth + kFrameWidth;
  const std::vector<DataShowGridColumn> columns = dataShowGridColumns(formWidth);
  QStringList headings;
  for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
    headings << columns[static_cast<std::size_t>(column)].heading;
    const int width = columns[static_cast<std::size_t>(column)].widthTwips;
    grdList->setColumnHidden(column, width == 0 || width == kWidthNotSet);
    if (width > 0) grdList->setColumnWidth(column, twipsToPixels(width));
  }
  Grid(*grdList).setHeadings(headings);
}

void frmCustomsData::showDataShowList() {
  flagListReady = false;
  grdList->setUpdatesEnabled(false);
  const std::vector<CatalogueRow> rows = dataShowManagerObj ? catalogueRows(*dataShowManagerObj)
                                                            : std::vector<CatalogueRow>{};
  grdList->setRowCount(static_cast<int>(rows.size()));
  Grid cells(*grdList);
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    const CatalogueRow& file = rows[static_cast<std::size_t>(row)];
    const QStringList texts = dataShowRowCells(*file.custom, *file.file);
    for (int column = 0; column < texts.size(); ++column) cells.setText(row, column, texts[column]);
  }
  grdList->clearSelection();
  const int row = rowToSelect(selectedRow, grdList->rowCount() + 1);
  if (row > 0) {
    selectedRow = row;
    grdList->setCurrentCell(row - 1, kColumnCustomerId,
                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grdList->scrollToItem(grdList->item(row - 1, kColumnCustomerId), QAbstractItemView::PositionAtTop);
  }
  setFileButtons(row > 0);
  grdList->setUpdatesEnabled(true);
  flagListReady = true;
}

void frmCustomsData::setFileButtons(bool enabled) {
  for (QPushButton* button : {cmdDataShow, cmdTrigConShow, cmdCsv, cmdDelete}) button->setEnabled(enabled);
}

void frmCustomsData::setBusyState() {
  setCursor(Qt::WaitCursor);
  setFileButtons(false);
  cmdCancel->setEnabled(false);
}

void frmCustomsData::resetBusyState() {
  setFileButtons(grdList->rowCount() > 0);
  cmdCancel->setEnabled(true);
  unsetCursor();
}

// ---- Keys and layout ----

void frmCustomsData::keyPressEvent(QKeyEvent* event) {
  if (keys_.handle(event)) return;
  WorkForm::keyPressEvent(event);
}

bool frmCustomsData::eventFilter(QObject* watched, QEvent* event) {
  // The window sees the keys before its grid does.
  if (watched == grdList && event->type() == QEvent::KeyPress && keys_.handle(static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return WorkForm::eventFilter(watched, event);
}

void frmCustomsData::resizeEvent(QResizeEvent* event) {
  WorkForm::resizeEvent(event);
  layOutControls();
}

void frmCustomsData::layOutControls() {
  const int width = std::max(pixelsToTwips(this->width()), kSmallestInner);
  const int height = std::max(pixelsToTwips(this->height()), kSmallestInner);
  const int left = width - 1760;
  int top = 0;
  for (QPushButton* button : {cmdDataShow, cmdTrigConShow, cmdCsv, cmdDelete}) {
    button->move(twipsToPixels(left), twipsToPixels(top));
    top += kButtonStep;
  }
  cmdCancel->move(twipsToPixels(left), twipsToPixels(height - 510));
  grdList->setGeometry(twipsRect(0, 0, left - 40, height - 50));
}

// ---- Commands ----

bool frmCustomsData::isOneRowSelected() const {
  std::set<int> rows;
  for (const QTableWidgetSelectionRange& range : grdList->selectedRanges()) {
    for (int row = range.topRow(); row <= range.bottomRow(); ++row) rows.insert(row);
  }
  return rows.empty() || (rows.size() == 1 && *rows.begin() == grdList->currentRow());
}

std::optional<int> frmCustomsData::takeSelectedRow() {
  if (!isOneRowSelected()) {
    showMessage(QStringLiteral("19-1"), QString(), tableText(kOneRowOnlyText), QString());
    grdList->setFocus();
    return std::nullopt;
  }
  selectedRow = grdList->currentRow() + 1;
  return selectedRow;
}

void frmCustomsData::cmdDataShow_Click() {
  const std::optional<int> row = takeSelectedRow();
  if (!row || !dataShowManagerObj) return;
  if (const CatalogueRow file = catalogueRow(*dataShowManagerObj, *row)) {
    openDataShowForFile(dataShowForms, *file.custom, *file.file);
  }
}

void frmCustomsData::cmdTrigConShow_Click() {
  const std::optional<int> row = takeSelectedRow();
  if (!row || !dataShowManagerObj) return;
  const CatalogueRow file = catalogueRow(*dataShowManagerObj, *row);
  if (!file) return;
  if (file.file->recodeMode == kPeriodicRecord) {
    closeTriggerConditionShow();
    showMessage(QStringLiteral("19-2"), QString(), tableText(kPeriodicOnlyText), QString());
    return;
  }
  if (file.file->recodeMode != kTriggerRecord) return;
  frmTriggerConditionShow& window = frmTriggerConditionShow::instance();
  connect(&window, &frmTriggerConditionShow::closed, this, &frmCustomsData::triggerConditionShowClosed,
          Qt::UniqueConnection);
  window.dataShowCustomThisForm = file.custom;
  window.dataShowFileThisForm = file.file;
  if (flagTrigConShow()) window.showAll();
  window.showForm();
  window.setFocus();
}

void frmCustomsData::triggerConditionShowClosed() {
  if (isLoaded() && subWindow() && subWindow()->isVisible()) showForm();
}

void frmCustomsData::cmdDelete_Click() {
  const std::optional<int> row = takeSelectedRow();
  if (!row || !dataShowManagerObj) return;
  const CatalogueRow file = catalogueRow(*dataShowManagerObj, *row);
  if (!file || askYesNoFromTexts(kDeleteQuestionText, 1) != kAnswerYes) return;
  pendingDeletion_ = PendingDeletion{file.custom->customDir, file.file->fileNumber};
  startDeleteData();
}

// ---- Deletion ----

void frmCustomsData::startDeleteData() {
  // Busy until the deletion has run: no second one, and the file stays the
  // one confirmed whatever row the cursor moves to.
  setBusyState();
  dataShowForms.closeWindows();
  closeTriggerConditionShow();
  tmrForDeleteData->start();
}

void frmCustomsData::tmrForDeleteData_Timer() {
  if (!pendingDeletion_) {
    tmrForDeleteData->stop();
    return;
  }
  if (!dataShowForms.isEmpty()) return;
  tmrForDeleteData->stop();
  deleteData();
}

void frmCustomsData::deleteData() {
  QApplication::processEvents();
  const PendingDeletion deletion = *pendingDeletion_;
  TramsollApi& api = tramsollApi();
  api.deleteFile(textForLibrary(deletion.customDir).constData(), deletion.fileNumber);
  api.clearFileList();
  clearDataShowList();
  makeDataShowList();
  showDataShowList();
  pendingDeletion_.reset();
  resetBusyState();
}

// ---- Closing ----

void frmCustomsData::cancel() {
  selectedRow = grdList->currentRow() + 1;
  prepareForEndFormCustomsData();
}

void frmCustomsData::prepareForEndFormCustomsData() {
  dataShowForms.prepareForEnd();
  tmrForEnd->start();
  closeTriggerConditionShow();
  if (subWindow()) subWindow()->hide();
}

void frmCustomsData::tmrForEnd_Timer() {
  // A deletion already confirmed runs first.
  if (!flagForEnd() || !flagListReady || !dataShowForms.isEmpty() || pendingDeletion_) return;
  finishEndFormCustomsData();
}

void frmCustomsData::finishEndFormCustomsData() {
  tmrForEnd->stop();
  clearDataShowList();
  tramsollApi().clearFileList();
  unload();
  showMainMenuAgain();
}

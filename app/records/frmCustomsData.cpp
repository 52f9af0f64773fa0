#include "records/frmCustomsData.h"

#include "frame/dialogs/ask_yes_no.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/common_routines.h"
#include "frame/grid.h"
#include "frame/library/tramsoll_api.h"
#include "frame/library/tramsoll_client.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/site/paths.h"
#include "frame/sliced_library_jobs.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "records/data_show_catalogue.h"
#include "records/csv_dates.h"
#include "records/csv_output_files.h"
#include "records/data_show_cells.h"
#include "records/data_show_replay.h"
#include "records/frmCsvOutput.h"
#include "records/frmCsvSetting.h"
#include "records/frmTriggerConditionShow.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
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
constexpr int kOldCsvQuestionText = 325;  // and 326, "Overwrite?"
constexpr int kRecordingRunsText = 471;
constexpr int kCsvFileInUseTexts[] = {472, 473, 474};
constexpr int kCsvDiskFullTexts[] = {475, 476};
const char* const kCsvListLostText = "The recording's file list was lost; the conversion stopped.";

// execCsvOut's failures.
constexpr int32_t kCsvListLost = 2;
constexpr int32_t kCsvWriteFailed = 3;

constexpr int32_t kPeriodicRecord = 1;
constexpr int32_t kTriggerRecord = 2;

QPushButton* newButton(const char* caption, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->resize(twipsToPixels(kButtonWidth), twipsToPixels(kButtonHeight));
  return button;
}

void closeTriggerConditionShow() { frmTriggerConditionShow::instance().unload(); }

// The save dialog of the CSV files, at the base path's folder with its stem
// as the name. The name is taken as typed, ".csv" added when it has no
// suffix; an existing name is not asked about, since the conversion writes
// other names beside it.
std::optional<QString> askCsvFileName(const QString& basePath) {
  const QFileInfo base(basePath);
  QFileDialog dialog(mainWindow(), QString(), base.path());
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(QStringLiteral("CSV Files (*.csv)"));
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  dialog.selectFile(base.fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

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
  connect(cmdCsv, &QPushButton::clicked, this, [this] { cmdCsv_Click(); });
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

  CommonDialogCsv = askCsvFileName;
  csvDriver_ = new SliceDriver(this);
  connect(csvDriver_, &SliceDriver::progressChanged, this,
          [](int percent) { frmCsvOutput::instance().drawPictuteCsvOutput(percent); });
  connect(csvDriver_, &SliceDriver::ended, this, &frmCustomsData::csvOutputEnded);
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
  // A conversion still running when the window is taken away stops here.
  stopCsvOutput();
  unloadCsvSetting();
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
  stopCsvOutput();
  tmrForEnd->start();
  closeTriggerConditionShow();
  unloadCsvSetting();
  if (subWindow()) subWindow()->hide();
}

void frmCustomsData::prepareForEnd() {
  dataShowForms.prepareForEnd();
  stopCsvOutput();
  unloadCsvSetting();
}

bool frmCustomsData::closed() const {
  return dataShowForms.isEmpty() && !pendingDeletion_ && !program().csvOutputRunning && !csvRoadRunning_;
}

void frmCustomsData::tmrForEnd_Timer() {
  // A deletion already confirmed runs first; a conversion ends after its
  // slice under way.
  if (!flagForEnd() || !flagListReady || !closed()) return;
  finishEndFormCustomsData();
}

void frmCustomsData::finishEndFormCustomsData() {
  tmrForEnd->stop();
  clearDataShowList();
  tramsollApi().clearFileList();
  unload();
  showMainMenuAgain();
}

// ---- CSV output ----

void frmCustomsData::cmdCsv_Click() {
  if (program().csvOutputRunning) return;
  const std::optional<int> row = takeSelectedRow();
  if (!row || !dataShowManagerObj) return;
  const CatalogueRow file = catalogueRow(*dataShowManagerObj, *row);
  if (!file) return;
  // GO converts this file, whatever row is current by then.
  csvSource_ = CsvSource{file.custom->customDir, file.file->fileNumber};
  const CsvSpanTexts span = csvSpanTexts(*file.file);
  frmCsvSetting& options = frmCsvSetting::instance();
  csvSetting_ = &options;
  connect(&options, &frmCsvSetting::csvOutputWanted, this, &frmCustomsData::CsvOutput, Qt::UniqueConnection);
  options.load();
  options.StartDate->setText(span.startDate);
  options.EndDate->setText(span.endDate);
  options.showModeless();
}

void frmCustomsData::CsvOutput() {
  if (program().mapRecodeModeOpen) {
    showMessage(QStringLiteral("19-3"), QString(), tableText(kRecordingRunsText), QString());
    return;
  }
  if (!csvSource_ || program().csvOutputRunning || csvRoadRunning_ || flagForEnd()) return;
  csvRoadRunning_ = true;
  selectCsvFileName();
  csvRoadRunning_ = false;
}

void frmCustomsData::selectCsvFileName() {
  csvOutputCancel = false;
  ProgramValues& values = program();
  for (;;) {
    values.dialogOpen.raise();
    const std::optional<QString> chosen = CommonDialogCsv ? CommonDialogCsv(values.csvFolder) : std::nullopt;
    values.dialogOpen.lower();
    setProgramFolderAsCurrent();
    // The list may have been closed meanwhile: nothing is converted then.
    if (!chosen || flagForEnd()) return;
    values.csvFolder = csvBasePath(*chosen);
    if (!checkCsvDataFile(values.csvFolder)) break;
    if (askYesNoFromTexts(kOldCsvQuestionText, 2) == kAnswerYes) {
      bool deleted = false;
      deleteCsvDataFile(values.csvFolder, deleted);
      if (!deleted) return;
      break;
    }
  }
  if (!flagForEnd()) outputCsvData();
}

bool frmCustomsData::checkCsvDataFile(const QString& basePath) { return !findOldCsvFiles(basePath).names.isEmpty(); }

void frmCustomsData::deleteCsvDataFile(const QString& basePath, bool& result) {
  const OldCsvRemoval removal = deleteOldCsvFiles(basePath);
  result = bool(removal);
  if (result) return;
  showMessage(QStringLiteral("19-4"), removal.lastFailedName + tableText(kCsvFileInUseTexts[0]),
              tableText(kCsvFileInUseTexts[1]), tableText(kCsvFileInUseTexts[2]));
}

void frmCustomsData::outputCsvData() {
  if (!csvSource_ || program().csvOutputRunning) return;
  // Any answer but 0 sets no conversion up.
  if (TramsollClient().setCsvFile(csvSource_->customDir, csvSource_->fileNumber, program().csvFolder,
                                  csvHeadingTexts()) != 0) {
    showVersionMismatch();
    return;
  }
  program().csvOutputRunning = true;
  frmCsvOutput& progress = frmCsvOutput::instance();
  connect(&progress, &frmCsvOutput::cancelRequested, this, &frmCustomsData::stopCsvOutput, Qt::UniqueConnection);
  progress.showModeless();
  setBusyState();
  csvDriver_->start(csvConversionSlices());
}

void frmCustomsData::stopCsvOutput() {
  if (!csvDriver_->isRunning()) return;
  csvOutputCancel = true;
  csvDriver_->cancel();
}

void frmCustomsData::csvOutputEnded(SliceOutcome outcome, int32_t value) {
  // A conversion stopped for the closing is not told about.
  if (outcome == SliceOutcome::Failed && !flagForEnd()) {
    if (value == kCsvWriteFailed) {
      showMessage(QStringLiteral("19-5"), tableText(kCsvDiskFullTexts[0]), tableText(kCsvDiskFullTexts[1]), QString());
      csvOutputCancel = true;
    } else if (value == kCsvListLost) {
      showMessage(QString(), QString(), QString::fromLatin1(kCsvListLostText), QString());
    }
  }
  frmCsvOutput::instance().unload();
  resetBusyState();
  program().csvOutputRunning = false;
  if (isLoaded() && !flagForEnd()) showForm();
}

void frmCustomsData::unloadCsvSetting() {
  if (csvSetting_) csvSetting_->unloadUnlessGoRuns();
}

#include "records/frmDataTransfer.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/grid.h"
#include "frame/library/tramsoll_api.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/site/paths.h"
#include "frame/slice_driver.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "records/data_show_cells.h"
#include "records/frmSameCustomInfor.h"
#include "records/frmSameData.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTableWidget>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <limits>

namespace {

constexpr int kClientWidth = 9180;
constexpr int kClientHeight = 5205;
// A main window larger than this (outer size) gets the larger layout.
constexpr int kLargeMainWidth = 11600;
constexpr int kLargeMainHeight = 8400;
constexpr int kLargeOuterWidth = 11500;
constexpr int kLargeOuterHeight = 7300;

// Text-table entries.
constexpr int kTitleEntry = 304;
constexpr int kLeftFrameEntry = 19;
constexpr int kOperationDataEntry = 305;
constexpr int kCustomerDataEntry = 306;
constexpr int kRightFrameEntry = 307;
constexpr int kDriveLabelEntry = 308;
constexpr int kFolderLabelEntry = 309;
constexpr int kCancelEntry = 17;
constexpr int kStatusEntry = 401;
constexpr int kRecordingRunsEntry = 477;
constexpr int kDiskFullEntries[] = {478, 479};
constexpr int kCannotAccessEntries[] = {485, 486};

struct Column {
  int widthTwips;
  int heading;  // text-table entry; 0: no heading
};
const Column kFileColumns[] = {{0, 0},    {800, 79},   {1100, 80},   {1100, 288}, {800, 289},  {1000, 290},
                               {300, 291}, {300, 292}, {1700, 293}, {1200, 294}, {1300, 295}, {1000, 296}};
const Column kCustomerColumns[] = {{0, 0}, {1300, 79}, {2200, 80}};

// A control's design place and how far the larger layout moves and grows it.
struct Placement {
  QRect design;  // twips, within its frame or the window
  int moveLeft = 0, moveTop = 0, growWidth = 0, growHeight = 0;
};

void place(QWidget& widget, const Placement& at, bool large) {
  QRect rect = twipsRect(at.design.x(), at.design.y(), at.design.width(), at.design.height());
  if (large) {
    rect.translate(twipsToPixels(at.moveLeft), twipsToPixels(at.moveTop));
    rect.setSize(rect.size() + QSize(twipsToPixels(at.growWidth), twipsToPixels(at.growHeight)));
  }
  // A caption taller than its design box keeps its middle where designed.
  const int height = std::max(rect.height(), widget.sizeHint().height());
  if (dynamic_cast<QTableWidget*>(&widget) || dynamic_cast<QTreeView*>(&widget) || height == rect.height()) {
    widget.setGeometry(rect);
    return;
  }
  widget.setGeometry(rect.x(), rect.center().y() - height / 2, rect.width(), height);
}

// The copy buttons' pictures: an arrow and the key.
QPixmap arrowPicture(bool pointsRight, const QString& key) {
  QPixmap picture(77, 20);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 2));
  painter.setBrush(Qt::black);
  const int y = 10;
  const int from = pointsRight ? 2 : 40, to = pointsRight ? 40 : 2;
  painter.drawLine(from, y, to, y);
  const int back = pointsRight ? to - 9 : to + 9;
  painter.drawPolygon(QPolygon({QPoint(to, y), QPoint(back, y - 6), QPoint(back, y + 6)}));
  painter.drawText(QRect(44, 0, 33, 20), Qt::AlignLeft | Qt::AlignVCenter, key);
  return picture;
}

// The rows chosen in a grid, 1 = the first data row; {0, 0} for none.
std::pair<int, int> selectedRows(const QTableWidget& grid) {
  int first = grid.currentRow() + 1;
  int last = first;
  for (const QTableWidgetSelectionRange& range : grid.selectedRanges()) {
    first = std::min(first, range.topRow() + 1);
    last = std::max(last, range.bottomRow() + 1);
  }
  return {first, last};
}

QStringList rowCells(TransferKind kind, const CatalogueRow& row) {
  // The hidden first column holds the file name.
  if (kind == kCustomerData) return {row.file->fileName, row.custom->customId, row.custom->customName};
  QStringList cells = dataShowRowCells(*row.custom, *row.file).mid(0, std::size(kFileColumns));
  cells[0] = row.file->fileName;
  return cells;
}

void showScanFailure(const FileOutcome& outcome) {
  showMessage(QStringLiteral("21-3"), tableText(kCannotAccessEntries[0]), tableText(kCannotAccessEntries[1]),
              outcome.errorLine());
}

// Each customer of the list gets its customer file as its one file.
void addCustomerFiles(DataShowManager& list) {
  for (const auto& custom : list.dataShowCustoms) {
    auto file = std::make_shared<DataShowFile>();
    file->fileNumber = 1;
    const QString expected = custom->customId + QStringLiteral(".dak");
    const QString found = findEntryNoCase(custom->customDir, expected, EntryKind::File);
    file->fileName = found.isEmpty() ? expected : found;
    file->fileSize = static_cast<int32_t>(std::min<qint64>(QFileInfo(custom->customDir + file->fileName).size(),
                                                           std::numeric_limits<int32_t>::max()));
    custom->dataShowFiles.add(file, QStringLiteral("1"));
  }
}

}  // namespace

frmDataTransfer::frmDataTransfer() {
  setWindowTitle(QStringLiteral("Data Transfer"));
  makeControls();
  copyDriver_ = new SliceDriver(this);
  connect(copyDriver_, &SliceDriver::ended, this, [this] { copyEnded(); });
  tmrForEnd = new QTimer(this);
  tmrForEnd->setInterval(kEndTickMs);
  connect(tmrForEnd, &QTimer::timeout, this, [this] { tmrForEnd_Timer(); });
  keys_.add(Qt::Key_F1, cmdFromLeft);
  keys_.add(Qt::Key_F2, cmdFromRight);
  keys_.add(Qt::Key_Escape, cmdCancel);
  // The window sees its keys before its controls do.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  setFocusProxy(grdListLeft);
}

void frmDataTransfer::makeControls() {
  fraLeft = new QGroupBox(QStringLiteral("Pelomar Vexa 5 Software"), this);
  optSelect[kOperationData] = new QRadioButton(QStringLiteral("Operation data"), fraLeft);
  optSelect[kCustomerData] = new QRadioButton(QStringLiteral("Customer data"), fraLeft);
  optSelect[kOperationData]->setChecked(true);
  options_ = new QButtonGroup(this);
  options_->addButton(optSelect[kOperationData], kOperationData);
  options_->addButton(optSelect[kCustomerData], kCustomerData);
  connect(options_, &QButtonGroup::idClicked, this, [this](int index) { optSelect_Click(index); });
  grdListLeft = new QTableWidget(fraLeft);
  fraRight = new QGroupBox(QStringLiteral("Designate source or destination of transfer"), this);
  makeFolderControls();
  grdListRight = new QTableWidget(fraRight);
  for (QTableWidget* grid : {grdListLeft, grdListRight}) {
    Grid(*grid).selectWholeRows();
    // Several rows in a row may be copied at once.
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->verticalHeader()->hide();
    // One line a row, cut at the column's edge.
    grid->setWordWrap(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  cmdFromLeft = new QPushButton(this);
  cmdFromRight = new QPushButton(this);
  cmdFromLeft->setIcon(arrowPicture(true, QStringLiteral("(F1)")));
  cmdFromRight->setIcon(arrowPicture(false, QStringLiteral("(F2)")));
  for (QPushButton* button : {cmdFromLeft, cmdFromRight}) button->setIconSize(QSize(77, 20));
  connect(cmdFromLeft, &QPushButton::clicked, this, [this] { copyFrom(kLeft); });
  connect(cmdFromRight, &QPushButton::clicked, this, [this] { copyFrom(kRight); });
  cmdCancel = new QPushButton(QStringLiteral("Cancel (Esc)"), this);
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmDataTransfer::makeFolderControls() {
  drvRight = new QComboBox(fraRight);
  connect(drvRight, &QComboBox::activated, this, [this](int index) { drvRight_Change(index); });
  lblDrvRight = new QLabel(QStringLiteral("Drive name"), fraRight);
  folders_ = new QFileSystemModel(this);
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  dirRight = new QTreeView(fraRight);
  dirRight->setModel(folders_);
  dirRight->setHeaderHidden(true);
  // Deep folders scroll sideways rather than shrink to dots.
  dirRight->setIndentation(10);
  dirRight->header()->setStretchLastSection(false);
  dirRight->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  for (int column = 1; column < folders_->columnCount(); ++column) dirRight->hideColumn(column);
  connect(dirRight, &QTreeView::activated, this,
          [this](const QModelIndex& index) { chooseRightFolder(folders_->filePath(index)); });
  lblDirRight = new QLabel(QStringLiteral("Folder name"), fraRight);
  // The folders come in the background: the chosen one is marked once its
  // parent has been read.
  connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
    if (rightFolder_.startsWith(path)) markRightFolder();
  });
  connect(folders_, &QFileSystemModel::layoutChanged, this, [this] { dirRight->scrollTo(dirRight->currentIndex()); });
}

// ---- Opening and layout ----

void frmDataTransfer::onLoad() {
  arrangeLayout();
  unsetCursor();
  setControlCaptions();
  flagBusy_ = true;
  flagForEnd_ = false;
  transferKind_ = kOperationData;
  optSelect[kOperationData]->setChecked(true);
  list(kLeft) = scan(programFolder());
  // The right side opens at the engineer's home folder.
  rightFolder_ = QDir::homePath();
  refreshDrives();
  showRightFolderInList();
  list(kRight) = scan(rightFolder_);
  for (Side side : {kLeft, kRight}) {
    setGridHeader(grid(side));
    showList(grid(side), *list(side));
  }
  enableCopyButtons();
  flagBusy_ = false;
  tmrForEnd->stop();
}

void frmDataTransfer::arrangeLayout() {
  const QMainWindow* main = mainWindow();
  const QSize mainSize = main ? main->frameGeometry().size() : QSize();
  const bool large = pixelsToTwips(mainSize.width()) > kLargeMainWidth &&
                     pixelsToTwips(mainSize.height()) > kLargeMainHeight;
  const struct {
    QWidget* widget;
    Placement at;
  } placements[] = {
      {fraLeft, {{30, 100, 3730, 5070}, 0, 0, 1100, 1700}},
      {optSelect[kOperationData], {{1250, 495, 2300, 200}}},
      {optSelect[kCustomerData], {{1250, 870, 2300, 200}}},
      {grdListLeft, {{75, 1620, 3600, 3400}, 0, 0, 1100, 1700}},
      {fraRight, {{5400, 100, 3730, 5070}, 1100, 0, 1100, 1700}},
      {drvRight, {{120, 240, 1370, 315}, 0, 0, 550, 0}},
      {lblDrvRight, {{240, 600, 1095, 255}}},
      {dirRight, {{1545, 240, 2085, 1440}, 550, 0, 550, 0}},
      {lblDirRight, {{240, 1080, 1095, 255}}},
      {grdListRight, {{75, 1620, 3600, 3405}, 0, 0, 1100, 1700}},
      {cmdFromLeft, {{3825, 2400, 1500, 500}, 1100}},
      {cmdFromRight, {{3825, 3350, 1500, 500}, 1100}},
      {cmdCancel, {{3825, 4600, 1500, 480}, 1100, 1700}},
  };
  for (const auto& control : placements) place(*control.widget, control.at, large);
  // The window's inside has the design size; the frame of its sub-window
  // comes around it.
  QMdiSubWindow* frame = subWindow();
  const QMargins margins = frame ? frame->contentsMargins() : QMargins();
  const int frameWidth = pixelsToTwips(margins.left() + margins.right());
  const int frameHeight = pixelsToTwips(margins.top() + margins.bottom());
  const int outerWidth = large ? kLargeOuterWidth : kClientWidth + frameWidth;
  const int outerHeight = large ? kLargeOuterHeight : kClientHeight + frameHeight;
  centreInMainWindowTwips(outerWidth, outerHeight);
}

void frmDataTransfer::setControlCaptions() {
  for (QWidget* widget : std::initializer_list<QWidget*>{drvRight, dirRight, grdListLeft, grdListRight}) {
    widget->setFont(appFont());
  }
  if (!captionsFromTable()) return;
  const auto caption = [](int entry) { return captionTexts()[static_cast<std::size_t>(entry)]; };
  setWindowTitle(caption(kTitleEntry));
  fraLeft->setTitle(caption(kLeftFrameEntry));
  optSelect[kOperationData]->setText(caption(kOperationDataEntry));
  optSelect[kCustomerData]->setText(caption(kCustomerDataEntry));
  fraRight->setTitle(caption(kRightFrameEntry));
  lblDrvRight->setText(caption(kDriveLabelEntry));
  lblDirRight->setText(caption(kFolderLabelEntry));
  cmdCancel->setText(caption(kCancelEntry));
  for (QWidget* widget : std::initializer_list<QWidget*>{fraLeft, fraRight, cmdCancel, optSelect[0], optSelect[1],
                                                         lblDrvRight, lblDirRight}) {
    widget->setFont(appFont());
  }
}

void frmDataTransfer::onActivate() { setMainStatusText(tableText(kStatusEntry)); }

bool frmDataTransfer::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && keys_.handle(static_cast<QKeyEvent*>(event))) return true;
  if (watched == drvRight && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    refreshDrives();
  }
  return WorkForm::eventFilter(watched, event);
}

// ---- Lists and grids ----

frmDataTransfer::List frmDataTransfer::scan(const QString& folder) {
  CatalogueBuild build = transferKind_ == kCustomerData ? makeCustomerList(folder, FolderEnding::Slash)
                                                         : makeDataShowList(folder, tramsollApi(), FileNames::Kept);
  if (transferKind_ == kCustomerData) addCustomerFiles(*build.catalogue);
  if (!build.outcome) {
    // What was found before the failure is shown.
    showScanFailure(build.outcome);
  } else if (transferKind_ == kOperationData) {
    tramsollApi().clearFileList();
  }
  return build.catalogue;
}

QString frmDataTransfer::folderOf(Side side) const { return side == kLeft ? programFolder() : rightFolder_; }

void frmDataTransfer::setGridHeader(QTableWidget& grid) {
  const bool customers = transferKind_ == kCustomerData;
  const Column* columns = customers ? kCustomerColumns : kFileColumns;
  const int count = customers ? int(std::size(kCustomerColumns)) : int(std::size(kFileColumns));
  grid.setColumnCount(count);
  QStringList headings;
  for (int c = 0; c < count; ++c) {
    grid.setColumnWidth(c, twipsToPixels(columns[c].widthTwips));
    headings << (columns[c].heading ? tableText(columns[c].heading) : QString());
  }
  grid.setHorizontalHeaderLabels(headings);
}

void frmDataTransfer::showList(QTableWidget& grid, const DataShowManager& list) {
  grid.setUpdatesEnabled(false);
  const std::vector<CatalogueRow> rows = catalogueRows(list);
  grid.setRowCount(static_cast<int>(rows.size()));
  Grid cells(grid);
  for (int r = 0; r < grid.rowCount(); ++r) {
    const QStringList texts = rowCells(transferKind_, rows[static_cast<std::size_t>(r)]);
    for (int c = 0; c < texts.size(); ++c) cells.setText(r, c, texts[c]);
  }
  if (grid.rowCount() > 0) {
    grid.scrollToTop();
    grid.setCurrentCell(0, 0);
    grid.selectRow(0);
  } else {
    grid.clearSelection();
  }
  grid.setUpdatesEnabled(true);
}

void frmDataTransfer::clearAllLists() {
  for (auto& kind : lists_) {
    for (List& side : kind) {
      if (side) clearDataShowList(*side);
      side.reset();
    }
  }
}

void frmDataTransfer::scanAndShow(Side side) {
  if (list(side)) clearDataShowList(*list(side));
  if (stopsForEnd()) return;
  list(side) = scan(folderOf(side));
  if (stopsForEnd()) return;
  showList(grid(side), *list(side));
  resetBusy();
}

// ---- Busy state ----

void frmDataTransfer::setBusy() {
  setCursor(Qt::WaitCursor);
  flagBusy_ = true;
  cmdFromLeft->setEnabled(false);
  cmdFromRight->setEnabled(false);
}

void frmDataTransfer::resetBusy() {
  enableCopyButtons();
  unsetCursor();
  flagBusy_ = false;
}

void frmDataTransfer::enableCopyButtons() {
  cmdFromLeft->setEnabled(grdListLeft->rowCount() > 0);
  cmdFromRight->setEnabled(grdListRight->rowCount() > 0);
}

bool frmDataTransfer::stopsForEnd() {
  if (!flagForEnd_ && isLoaded()) return false;
  flagBusy_ = false;
  return true;
}

// ---- Option, folder and drive ----

void frmDataTransfer::optSelect_Click(int index) {
  if (flagForEnd_ || flagBusy_ || index == transferKind_) {
    // The option stays as it was.
    optSelect[transferKind_]->setChecked(true);
    return;
  }
  const TransferKind previous = transferKind_;
  transferKind_ = static_cast<TransferKind>(index);
  setBusy();
  for (Side side : {kLeft, kRight}) {
    list(side) = scan(folderOf(side));
    if (stopsForEnd()) return;
  }
  for (Side side : {kLeft, kRight}) {
    setGridHeader(grid(side));
    showList(grid(side), *list(side));
    if (stopsForEnd()) return;
  }
  for (List& side : lists_[previous]) {
    if (side) clearDataShowList(*side);
    side.reset();
  }
  resetBusy();
}

void frmDataTransfer::chooseRightFolder(const QString& folder) {
  if (flagForEnd_ || flagBusy_) {
    showRightFolderInList();
    return;
  }
  rightFolder_ = folder;
  showRightFolderInList();
  dirRight_Change();
}

void frmDataTransfer::dirRight_Change() {
  setBusy();
  scanAndShow(kRight);
}

void frmDataTransfer::drvRight_Change(int index) {
  if (flagForEnd_) return;
  const QString drive = drvRight->itemText(index);
  refreshDrives();
  chooseRightFolder(drive);
}

void frmDataTransfer::refreshDrives() {
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir()) roots << volume.rootPath();
  }
  roots.removeDuplicates();
  roots.sort();
  QStringList shown;
  for (int i = 0; i < drvRight->count(); ++i) shown << drvRight->itemText(i);
  if (shown == roots) return;
  const QSignalBlocker quiet(drvRight);
  const QString chosen = drvRight->currentText();
  drvRight->clear();
  drvRight->addItems(roots);
  drvRight->setCurrentIndex(std::max<int>(roots.indexOf(chosen), 0));
}

void frmDataTransfer::showRightFolderInList() {
  const QString root = QStorageInfo(rightFolder_).rootPath();
  if (folders_->rootPath() != root) dirRight->setRootIndex(folders_->setRootPath(root));
  markRightFolder();
  const QSignalBlocker quiet(drvRight);
  if (const int index = drvRight->findText(root); index >= 0) drvRight->setCurrentIndex(index);
}

void frmDataTransfer::markRightFolder() {
  const QModelIndex folder = folders_->index(rightFolder_);
  for (QModelIndex above = folder.parent(); above.isValid(); above = above.parent()) dirRight->expand(above);
  dirRight->setCurrentIndex(folder);
  dirRight->scrollTo(folder);
}

// ---- Copy ----

void frmDataTransfer::copyFrom(Side source) {
  if (flagForEnd_ || flagBusy_) return;
  // The same folder on both sides, by any path: nothing to copy.
  if (isSameEntry(rightFolder_, programFolder())) return;
  if (program().mapRecodeModeOpen) {
    showMessage(QStringLiteral("21-1"), QString(), tableText(kRecordingRunsEntry), QString());
    return;
  }
  program().dataTransferRunning = true;
  setBusy();
  flagCopyCancel = flagCopyYesAll = flagCopyYes = false;
  const auto [first, last] = selectedRows(grid(source));
  const Side destination = source == kLeft ? kRight : kLeft;
  copySource_ = source;
  copy_ = std::make_unique<DataTransferCopy>(
      static_cast<CopyWindow&>(*this), CopyRequest{transferKind_, first, last, list(source), folderOf(destination), list(destination)});
  copyDriver_->start([this] { return copy_->step(); });
}

void frmDataTransfer::copyEnded() {
  copy_.reset();
  // The destination is listed again, as it is now.
  if (!stopsForEnd()) scanAndShow(copySource_ == kLeft ? kRight : kLeft);
  program().dataTransferRunning = false;
}

void frmDataTransfer::askSameData(const CatalogueRow& existing, const CatalogueRow& copied) {
  frmSameData& question = frmSameData::instance();
  question.showFiles(existing, copied);
  question.ask(*this);
}

void frmDataTransfer::askSameCustomer(const DataShowCustom& existing, const DataShowCustom& copied) {
  frmSameCustomInfor& question = frmSameCustomInfor::instance();
  question.showCustomers(existing, copied);
  question.ask(*this);
}

void frmDataTransfer::showCopyFailure(const FileOutcome& outcome) {
  if (!outcome.diskFull()) {
    showScanFailure(outcome);
    return;
  }
  showMessage(QStringLiteral("21-2"), tableText(kDiskFullEntries[0]), tableText(kDiskFullEntries[1]), QString());
}

// ---- Closing ----

void frmDataTransfer::cancel() { cmdCancel_Click(); }

void frmDataTransfer::cmdCancel_Click() {
  if (!flagForEnd_) prepareForEndFormDataTransfer();
}

void frmDataTransfer::prepareForEndFormDataTransfer() {
  if (!isLoaded()) return;
  flagForEnd_ = true;
  tmrForEnd->start();
}

void frmDataTransfer::tmrForEnd_Timer() {
  if (flagForEnd_ && !flagBusy_) finishEndOfDataTransfer();
}

void frmDataTransfer::finishEndOfDataTransfer() {
  tmrForEnd->stop();
  clearAllLists();
  // Unloaded, the data function free again, the main menu back.
  WorkForm::cancel();
}

void frmDataTransfer::onUnload() {
  tmrForEnd->stop();
  // A copy still running when the window is taken away stops at once; the
  // file under way is given up and its target left as it was.
  copyDriver_->cancel();
  clearAllLists();
  unsetCursor();
  program().dataFunction = kDataFree;
}

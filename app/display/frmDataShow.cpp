#include "display/frmDataShow.h"

#include "display/bgr_colour.h"
#include "display/data_items.h"
#include "display/data_show_texts.h"
#include "frame/common_routines.h"
#include "frame/dialogs/ask_yes_no.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/event_manager.h"
#include "frame/grid.h"
#include "frame/library/tramsoll_api.h"
#include "frame/library/tramsoll_client.h"
#include "frame/main_window.h"
#include "frame/print_service.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <utility>

using namespace dataShowDesign;

namespace {

// Columns of the item list.
constexpr int kMarkerColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kValueColumn = 2;
constexpr int kTimeColumn = 3;
constexpr int kFullScaleColumn = 4;
constexpr int kNameWidth = 2180;
constexpr int kWideNameWidth = 2725;  // when the main window is wider than 12000
constexpr int kWideMainWindow = 12000;
constexpr int kCellPadding = 8;  // pixels around a cell's text

// Text-table entries.
constexpr int kGraphFrameText = 251;
constexpr int kFirstGraphTipText = 252;  // 252..255: the four graph buttons
constexpr int kCursorFrameText = 256;
constexpr int kLeftTipText = 257;
constexpr int kRightTipText = 258;
constexpr int kSearchText = 259;
constexpr int kPrintTipText = 260;
constexpr int kPrintWarningText = 261;
constexpr int kMarkerText = 262;
constexpr int kFirstHeadingText = 263;  // 263..266: the item list's headings
constexpr int kActiveStatusText = 395;
constexpr int kNoPrinterText = 438;
constexpr int kTwoStateSearchText = 466;
constexpr int kDetailTipText = 504;
constexpr int kPrintQuestionText = 505;
constexpr int kCancelText = 17;

constexpr int kMarkerAnalog = 1;
constexpr int kMarkerDigital = 2;

// Sizes the design leaves to the window (twips).
constexpr int kButtonWidth = 880;
constexpr int kFrameLeft = 30;
constexpr int kFrameMargin = 40;
constexpr int kButtonHeight = 300;
constexpr int kGroupHeight = 540;
constexpr int kLabelHeight = 210;
constexpr int kLaneHeight = 180;
constexpr int kCascadeStep = 300;
constexpr int kFrameFontSize = 8;
constexpr int kCascadeSteps = 8;
constexpr int kFigurePixels = 10;  // legends, lane labels and the scale's figures

// A line of one pixel drawn as a filled control, so it can be placed and
// hidden like the other controls.
QFrame* newLine(QWidget* parent, const QColor& colour) {
  auto* line = new QFrame(parent);
  line->setAutoFillBackground(true);
  QPalette palette = line->palette();
  palette.setColor(QPalette::Window, colour);
  line->setPalette(palette);
  return line;
}

QPushButton* newButton(const char* caption, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->resize(twipsToPixels(kButtonWidth), twipsToPixels(kButtonHeight));
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

// The screen print button shows a printer rather than its caption.
QIcon printerIcon() {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::white);
  painter.drawRect(4, 1, 7, 5);    // the paper
  painter.setBrush(Qt::lightGray);
  painter.drawRect(1, 6, 13, 6);   // the body
  painter.setBrush(Qt::white);
  painter.drawRect(4, 10, 7, 4);   // the sheet coming out
  return QIcon(picture);
}

void setTextColour(QWidget& control, uint32_t bgr) {
  QPalette palette = control.palette();
  palette.setColor(QPalette::WindowText, colourOfBgr(bgr));
  control.setPalette(palette);
}

}  // namespace

std::shared_ptr<frmDataShow> frmDataShow::create() {
  struct Made final : frmDataShow {};
  return hold(new Made);
}

std::shared_ptr<frmDataShow> frmDataShow::hold(frmDataShow* window) { return holdChildForm(window); }

frmDataShow::frmDataShow() {
  setWindowTitle(QStringLiteral("Operation Data Display"));
  setCloseBox(CloseBox::RunsCancel);
  makeControls();
  tmrForMonitor = new QTimer(this);
  tmrForMonitor->setInterval(kMonitorMs);
  connect(tmrForMonitor, &QTimer::timeout, this, [this] { tmrForMonitor_Timer(); });
  tmrForEnd = new QTimer(this);
  tmrForEnd->setSingleShot(true);
  tmrForEnd->setInterval(kEndDelayMs);
  connect(tmrForEnd, &QTimer::timeout, this, [this] { tmrForEnd_Timer(); });
  keys_.previewKeysOf(*this);
  watchGraphClicks();
}

// ---- Controls ----

void frmDataShow::makeControls() {
  makeGraphAreas();
  grdList = new QTableWidget(0, 5, this);
  Grid(*grdList).selectWholeRows();
  grdList->verticalHeader()->hide();
  grdList->setWordWrap(false);
  // The focus given to the window goes to its list, which scrolls by
  // pixels so that a column brought into sight leaves the names in sight.
  setFocusProxy(grdList);
  grdList->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  cboAircon = new QComboBox(this);
  connect(cboAircon, &QComboBox::activated, this, [this](int index) { cboAircon_Click(index); });
  lblDay = new QLabel(this);
  for (std::size_t i = 0; i < lblGraph.size(); ++i) {
    lblGraph[i] = new QLabel(QStringLiteral("0:%1:00").arg(i * 5, 2, 10, QLatin1Char('0')), this);
    linGraph[i] = newLine(this, Qt::black);
  }
  txtCurY = new QLineEdit(this);
  txtCurY->setReadOnly(true);
  txtCurY->hide();
  makeButtons();
  makeGraphDrawing();
}

void frmDataShow::makeGraphAreas() {
  picAnalog = new GraphArea(this, Qt::white, QStringLiteral("Analog-data graph"));
  picDigital = new GraphArea(this, Qt::white, QStringLiteral("Digital-data graph"));
  picVscale = new GraphArea(this, palette().color(QPalette::Window), QStringLiteral("Analog-data scale"));
  picVscale->setFrameStyle(QFrame::NoFrame);
  for (std::size_t i = 0; i < linDigital.size(); ++i) linDigital[i] = newLine(picDigital, Qt::lightGray);
  for (std::size_t i = 0; i < lblAnalog.size(); ++i) {
    lblAnalog[i] = new QLabel(QString::number(i + 1), picAnalog);
    lblAnalog[i]->hide();
    lblDigital[i] = new QLabel(QString::number(i + 11), picDigital);
    lblDigital[i]->hide();
  }
  linCusorAnalog = newLine(picAnalog, Qt::black);
  linCusorDigital = newLine(picDigital, Qt::black);
  linTriggerAnalog = newLine(picAnalog, Qt::darkGray);
  linTriggerDigital = newLine(picDigital, Qt::darkGray);
  Hcursor = newLine(picAnalog, Qt::darkGray);
  HcursorS = newLine(picVscale, Qt::darkGray);
  Hcursor->hide();
  HcursorS->hide();
  makeScaleLabels();
}

void frmDataShow::makeScaleLabels() {
  // Small figures: the strip is 390 twips wide.
  QFont figures = font();
  figures.setPixelSize(kFigurePixels);
  const auto label = [&](const QString& caption, QWidget* parent) {
    auto* made = new QLabel(caption, parent);
    made->setFont(figures);
    made->adjustSize();
    return made;
  };
  lblP100 = label(QStringLiteral("100"), picVscale);
  for (std::size_t i = 0; i < lblP.size(); ++i) lblP[i] = label(QString::number(i == 0 ? -10 : int(i) * 10), picVscale);
  lblP0 = label(QStringLiteral("0%"), picVscale);
  lblP20 = label(QStringLiteral("-20"), picVscale);
  for (std::size_t i = 0; i < lblAnalog.size(); ++i) {
    for (QLabel* number : {lblAnalog[i], lblDigital[i]}) number->setFont(figures);
  }
}

void frmDataShow::makeButtons() {
  fraGraph = new QGroupBox(QStringLiteral("Graph"), this);
  fraCusor = new QGroupBox(QStringLiteral("Cursor movement"), this);
  // Six captions with their keys fit the row beside the unit box only
  // with narrow margins.
  for (QGroupBox* frame : {fraGraph, fraCusor}) frame->setStyleSheet(QStringLiteral("QPushButton { padding: 1px; }"));
  cmdLarge = newButton("<--> (F1)", fraGraph);
  cmdSmall = newButton("-><- (F2)", fraGraph);
  cmdBackward = newButton("<-- (F3)", fraGraph);
  cmdForward = newButton("--> (F4)", fraGraph);
  cmdLeft = newButton("<- (F5)", fraCusor);
  cmdRight = newButton("-> (F6)", fraCusor);
  cmdSearch = newButton("Search (F7)", this);
  cmdPrint = newButton("", this);
  cmdPrint->setIcon(printerIcon());
  cmdPrint->setAccessibleName(QStringLiteral("Screen Print (F9)"));
  cmdCancel = newButton("Cancel (Esc)", this);
  detail = newButton("D", this);
  detail->setToolTip(QStringLiteral("display graph detail list (D)"));

  keys_.add(Qt::Key_F1, cmdLarge, this, &frmDataShow::cmdLarge_Click);
  keys_.add(Qt::Key_F2, cmdSmall, this, &frmDataShow::cmdSmall_Click);
  keys_.add(Qt::Key_F3, cmdBackward, this, &frmDataShow::cmdBackward_Click);
  keys_.add(Qt::Key_F4, cmdForward, this, &frmDataShow::cmdForward_Click);
  keys_.add(Qt::Key_F5, cmdLeft, this, &frmDataShow::cmdLeft_Click);
  keys_.add(Qt::Key_Left, cmdLeft);
  keys_.add(Qt::Key_F6, cmdRight, this, &frmDataShow::cmdRight_Click);
  keys_.add(Qt::Key_Right, cmdRight);
  keys_.add(Qt::Key_F7, cmdSearch, this, &frmDataShow::cmdSearch_Click);
  keys_.add(Qt::Key_F9, cmdPrint, this, &frmDataShow::cmdPrint_Click);
  keys_.add(Qt::Key_D, detail, this, &frmDataShow::detail_Click);
  keys_.add(Qt::Key_Escape, cmdCancel, this, &frmDataShow::cancel);
}

void frmDataShow::setControlCaptions() {
  QPushButton* const graphButtons[] = {cmdLarge, cmdSmall, cmdBackward, cmdForward};
  int tip = kFirstGraphTipText;
  for (QPushButton* button : graphButtons) button->setToolTip(tableText(tip++));
  cmdLeft->setToolTip(tableText(kLeftTipText));
  cmdRight->setToolTip(tableText(kRightTipText));
  for (QWidget* control : std::initializer_list<QWidget*>{fraGraph, fraCusor, cmdSearch, cboAircon, grdList, lblDay}) {
    control->setFont(appFont());
  }
  for (QLabel* label : lblGraph) label->setFont(appFont());
  QFont frameFont = appFont();
  frameFont.setPointSize(std::min(frameFont.pointSize(), kFrameFontSize));
  for (QGroupBox* frame : {fraGraph, fraCusor}) frame->setFont(frameFont);
  if (!captionsFromTable()) return;
  fraGraph->setTitle(tableText(kGraphFrameText));
  fraCusor->setTitle(tableText(kCursorFrameText));
  cmdSearch->setText(tableText(kSearchText));
  cmdCancel->setText(tableText(kCancelText));
  cmdPrint->setToolTip(tableText(kPrintTipText));
  detail->setToolTip(tableText(kDetailTipText));
  cmdCancel->setFont(appFont());
  cmdPrint->setFont(appFont());
}

void frmDataShow::layOutControls(const DataShowLayout& layout) {
  const auto box = [](QWidget* control, const TwipsBox& at) {
    control->setGeometry(twipsRect(at.left, at.top, at.width, at.height));
  };
  const auto moveTo = [](QWidget* control, const TwipsPoint& at) {
    control->move(twipsToPixels(at.left), twipsToPixels(at.top));
  };
  box(picAnalog, layout.picAnalog);
  box(picDigital, layout.picDigital);
  box(picVscale, layout.picVscale);
  box(grdList, layout.grdList);
  for (std::size_t i = 0; i < linGraph.size(); ++i) {
    const TimeTick& tick = layout.timeTicks[i];
    linGraph[i]->setGeometry(twipsToPixels(static_cast<int>(tick.x)), twipsToPixels(tick.top), 1,
                             twipsToPixels(tick.bottom - tick.top));
    // At least the design width; a time already shown keeps the width it needs.
    QRect label = twipsRect(static_cast<int>(tick.labelLeft), tick.labelTop, kTimeLabelWidth, kLabelHeight);
    label.setWidth(std::max(label.width(), lblGraph[i]->sizeHint().width()));
    lblGraph[i]->setGeometry(label);
  }
  lblDay->setGeometry(twipsRect(layout.lblDayLeft, layout.lblDayTop, layout.lblDayWidth, kLabelHeight));
  // The two frames fill the row left of the unit box, their buttons side by side.
  const int graphFrameWidth = 4 * kButtonWidth + 2 * kFrameMargin;
  fraGraph->setGeometry(twipsRect(kFrameLeft, layout.frameTop, graphFrameWidth, kGroupHeight));
  fraCusor->setGeometry(twipsRect(kFrameLeft + graphFrameWidth + kFrameMargin, layout.frameTop,
                                  2 * kButtonWidth + 2 * kFrameMargin, kGroupHeight));
  for (QGroupBox* frame : {fraGraph, fraCusor}) {
    int left = kFrameMargin;
    for (QPushButton* button : frame->findChildren<QPushButton*>()) {
      button->move(twipsToPixels(left), twipsToPixels(kGroupHeight - kButtonHeight - 30));
      left += kButtonWidth;
    }
  }
  moveTo(cboAircon, layout.cboAircon);
  cboAircon->resize(twipsToPixels(1500), twipsToPixels(kButtonHeight));
  moveTo(cmdSearch, layout.cmdSearch);
  cmdSearch->resize(twipsToPixels(1500), twipsToPixels(kButtonHeight));
  moveTo(cmdCancel, layout.cmdCancel);
  cmdCancel->resize(twipsToPixels(1400), twipsToPixels(kButtonHeight));
  moveTo(cmdPrint, layout.cmdPrint);
  cmdPrint->resize(twipsToPixels(480), twipsToPixels(kButtonHeight + 40));
  moveTo(detail, layout.detail);
  detail->resize(twipsToPixels(330), twipsToPixels(kButtonHeight));
  moveTo(txtCurY, layout.txtCurY);
  txtCurY->resize(twipsToPixels(kVscaleWidth), twipsToPixels(kButtonHeight));

  const QRect lanes = picDigital->contentsRect();
  for (std::size_t i = 0; i < linDigital.size(); ++i) {
    linDigital[i]->setGeometry(lanes.left(), lanes.top() + twipsToPixels(kLaneLineY[i]), lanes.width(), 1);
  }
  for (std::size_t i = 0; i < lblDigital.size(); ++i) {
    lblDigital[i]->setGeometry(lanes.left() + 2, lanes.top() + twipsToPixels(kLaneLineY[i]), twipsToPixels(300),
                               twipsToPixels(kLaneHeight));
  }
  for (GraphArea* area : {picAnalog, picDigital, picVscale}) area->fitImage();
  lblP100->move(picVscale->insidePixel(kScaleLabelLeft, 0));
  Hcursor->resize(picAnalog->contentsRect().width(), 1);
  HcursorS->resize(picVscale->contentsRect().width(), 1);
  const AreaGeometry geometry = areaGeometry(picAnalog->scaleWidth(), picAnalog->scaleHeight());
  screen_.setGraphRange(geometry.graphLeft, geometry.graphRight);
  setGraphGeometry(geometry);
}

// ---- Load, activation, unload ----

void frmDataShow::onLoad() {
  // No smaller than the design's smallest window, in whole pixels.
  setMinimumSize(kMinimumInnerWidthPixels, kMinimumInnerHeightPixels);
  resizeClientTwips(pixelsToTwips(kMinimumInnerWidthPixels), pixelsToTwips(kMinimumInnerHeightPixels));
  // Windows opened one after another cascade from the top left, so that
  // each new one leaves the title of the one before in sight.
  if (subWindow()) {
    const int step = twipsToPixels(kCascadeStep) * ((formNumber - 1) % kCascadeSteps);
    subWindow()->move(step, step);
  }
  digitalBars_ = ::digitalBars(kLaneLineY);
  layOutControls(layoutDataShow(pixelsToTwips(kMinimumInnerWidthPixels), pixelsToTwips(kMinimumInnerHeightPixels)));
  setControlCaptions();
  pens_ = PenTable{};
  for (std::size_t i = 0; i < lblAnalog.size(); ++i) setTextColour(*lblAnalog[i], kPenColor[i]);
  linTriggerAnalog->hide();
  linTriggerDigital->hide();
  const bool replay = !live();
  for (QWidget* control : std::initializer_list<QWidget*>{fraGraph, cmdLarge, cmdSmall, cmdBackward, cmdForward,
                                                          fraCusor, cmdLeft, cmdRight, cmdSearch}) {
    control->setEnabled(replay);
  }
  cmdPrint->setEnabled(true);
  searchRow_ = 0;
  QFont listFont = grdList->font();
  listFont.setPointSize(program().displayOptions[kFontSize]);
  grdList->setFont(listFont);
  grdList->verticalHeader()->setDefaultSectionSize(grdList->fontMetrics().height() + 4);
  busyDepth_ = 0;
  tmrForEnd->stop();
  flagForEndOk = true;
  flagForEnd = false;
  if (live()) {
    tmrForMonitor->start();
  } else {
    tmrForMonitor->stop();
  }
}

void frmDataShow::onActivate() { setMainStatusText(tableText(kActiveStatusText)); }

void frmDataShow::onUnload() {
  tmrForMonitor->stop();
  closeDetailForms();
  deleteDetailForms();
}

void frmDataShow::keyPressEvent(QKeyEvent* event) {
  if (keys_.handle(event)) return;
  ChildForm::keyPressEvent(event);
}

GraphSystem& frmDataShow::graphSystem() {
  if (!graphSystemObj) graphSystemObj = std::make_shared<GraphSystem>();
  return *graphSystemObj;
}

int32_t frmDataShow::ordinarySystems() const { return ordinarySystemCount ? ordinarySystemCount() : 0; }

// ---- Caption ----

void frmDataShow::showTital() {
  if (flagForEnd) return;
  setWindowTitle(dataShowCaption(graphSystem(), live(), ordinarySystems()));
}

// ---- Data items ----

void frmDataShow::setDataItem() {
  GraphSystem& graph = graphSystem();
  TramsollClient client;
  const QByteArray folder = textForLibrary(customDir);
  ItemSource source{dataSource, customDir, fileNumber, systemSelector(graph, live(), ordinarySystems()), 0, 0};
  int32_t n = 1;
  int32_t total = 0, trigger = 0, interval = 0;
  for (const UnitGroup& group : listedGroups(graph)) {
    for (const auto& unit : unitsByNumber(*group.units)) {
      source.unitKind = group.unitKind;
      source.unitNumber = unit->airconNumber;
      int32_t count = 0;
      tramsollApi().getDataItemNum(dataSource, folder.constData(), fileNumber, source.systemNumber, group.unitKind,
                                   unit->airconNumber, &count, &total, &trigger, &interval);
      unit->dataItems.clear();
      for (int32_t k = 1; k <= count; ++k) {
        const DataItemInfo info = client.dataItem(source, k);
        if (info.dataType >= 3) continue;  // not shown in a display window
        auto item = std::make_shared<GraphDataItem>();
        item->listNo = unit->dataItems.count() + 1;
        item->dataItemNo = k;
        item->dataName = itemListName(n++, group.unitKind, unit->airconNumber, info.itemName);
        item->fullScale = info.fullScaleText;
        item->dataType = info.dataType;
        item->graphShowDefault = info.defaultGraphFlag;
        unit->dataItems.add(item, QString::number(item->listNo));
      }
    }
  }
  grdList->setRowCount(n - 1);
  graph.totalItemNumber = n - 1;
  if (graph.totalItemNumber == 0) return;
  screen_.setFirstScreen(live(), total, trigger, interval);
  storeScreen();
  setNavigationButtons();
}

void frmDataShow::storeScreen() {
  GraphSystem& graph = graphSystem();
  const ScreenCounters& s = screen_.screen();
  graph.recodeInterval = s.recodeInterval;
  graph.graphScale = s.graphScale;
  graph.graphTotalNum = s.graphTotalNum;
  graph.graphStartNo = s.graphStartNo;
  graph.graphEndNo = s.graphEndNo;
  graph.graphNum = s.graphNum;
  graph.graphNumRequired = s.graphNumRequired;
  graph.graphCusorNo = s.graphCusorNo;
  graph.graphTriggerNo = s.graphTriggerNo;
}

void frmDataShow::setNavigationButtons() {
  if (live()) return;  // a live window never navigates
  const NavigationButtons& b = screen_.buttons();
  cmdLarge->setEnabled(b.cmdLarge);
  cmdSmall->setEnabled(b.cmdSmall);
  cmdBackward->setEnabled(b.cmdBackward);
  cmdForward->setEnabled(b.cmdForward);
  cmdLeft->setEnabled(b.cmdLeft);
  cmdRight->setEnabled(b.cmdRight);
}

void frmDataShow::setDefaultGraph() {
  if (flagForEnd) return;
  GraphSystem& graph = graphSystem();
  graph.graphTopRow = applyDefaultGraph(graph);
  if (graph.graphTopRow < 1 || graph.graphTopRow > grdList->rowCount()) return;
  grdList->scrollTo(grdList->model()->index(graph.graphTopRow - 1, kMarkerColumn), QAbstractItemView::PositionAtTop);
  lastRow_ = graph.graphTopRow;
}

void frmDataShow::setGridHeadings() {
  const bool wide = mainWindow() && pixelsToTwips(mainWindow()->width()) > kWideMainWindow;
  Grid grid(*grdList);
  grid.setColumnWidthsTwips({120, wide ? kWideNameWidth : kNameWidth, 1080, 840, 740});
  // A change time is read whole: its column takes the width the list's font
  // needs where the design width is too narrow for it.
  const int timeWidth = grdList->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + kCellPadding;
  grdList->setColumnWidth(kTimeColumn, std::max(grdList->columnWidth(kTimeColumn), timeWidth));
  QStringList headings{QString()};
  for (int entry = kFirstHeadingText; entry < kFirstHeadingText + 4; ++entry) headings << tableText(entry);
  grid.setHeadings(headings);
}

void frmDataShow::showDataItem() {
  if (flagForEnd) return;
  flagForEndOk = false;
  setGridHeadings();
  GraphSystem& graph = graphSystem();
  cboAircon->clear();
  Grid grid(*grdList);
  int32_t row = 1;
  for (const UnitGroup& group : listedGroups(graph)) {
    for (const auto& unit : unitsByNumber(*group.units)) {
      cboAircon->addItem(unitBoxText(group.unitKind, unit->airconNumber));
      for (const auto& item : itemsByListNo(*unit)) {
        grid.setText(row - 1, kNameColumn, item->dataName);
        grid.setText(row - 1, kFullScaleColumn, item->fullScale);
        ++row;
      }
    }
  }
  if (cboAircon->count() < graph.airconNumberNow) {
    cboAircon->setCurrentIndex(cboAircon->count() - 1);
    graph.airconNumberNow = cboAircon->count();
  } else {
    cboAircon->setCurrentIndex(graph.airconNumberNow - 1);
  }
  flagForEndOk = true;
}

void frmDataShow::showGraphMarkerFirst() {
  if (flagForEnd) return;
  const std::vector<ListedItem> items = listedItems(graphSystem());
  std::vector<ListItem> rows = graphRows(items);
  const std::vector<RowMarker> markers = markGraphedItems(rows, pens_);
  keepGraphShow(rows, items);
  for (const RowMarker& marker : markers) setRowMarker(static_cast<int32_t>(marker.state), marker.row, marker.pen);
  selectWholeRow(lastRow_);
}

void frmDataShow::setRowMarker(int32_t state, int32_t row, int32_t slot) {
  // The row is written, not made current: the list keeps its scroll place.
  const int tableRow = row - 1;
  if (tableRow < 0 || tableRow >= grdList->rowCount()) return;
  if (state != 0 && state != kMarkerAnalog && state != kMarkerDigital) return;
  Grid grid(*grdList);
  const bool fontColours = program().displayOptions[kFontColor] == 1;
  QColor textColour = Qt::black;
  if (state == 0) {
    grid.setText(tableRow, kMarkerColumn, QString());
    grid.setColours(tableRow, kMarkerColumn, Qt::black, grdList->palette().color(QPalette::Base));
  } else {
    const QColor pen = colourOfBgr(state == kMarkerAnalog ? kPenColor[static_cast<std::size_t>(slot & 7)]
                                                          : kDigitalColor);
    grid.setText(tableRow, kMarkerColumn, tableText(kMarkerText));
    grid.setColours(tableRow, kMarkerColumn, pen, pen);
    if (fontColours) textColour = pen;
  }
  grid.setColours(tableRow, kNameColumn, textColour);
  grid.setColours(tableRow, kValueColumn, textColour);
}

void frmDataShow::selectWholeRow(int32_t row) {
  if (row < 1 || row > grdList->rowCount()) return;
  // The list stays where the engineer scrolled it (to the change times,
  // say), whatever cell was current.
  QScrollBar* across = grdList->horizontalScrollBar();
  QScrollBar* down = grdList->verticalScrollBar();
  const int acrossAt = across->value();
  const int downAt = down->value();
  grdList->setCurrentCell(row - 1, kMarkerColumn, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  across->setValue(acrossAt);
  down->setValue(downAt);
}

// ---- Cursor values ----

void frmDataShow::setCusorData() {
  if (flagForEnd) return;
  // A replay reads no record outside its file (none at all without records).
  const ScreenCounters& at = screen_.screen();
  if (!live() && (at.graphCusorNo < 1 || at.graphCusorNo > at.graphTotalNum)) return;
  flagForEndOk = false;
  for (const UnitGroup& group : listedGroups(graphSystem())) readCursorValues(*group.units, group.unitKind);
  flagForEndOk = true;
}

void frmDataShow::readCursorValues(const Collection<GraphAircon>& units, int32_t unitKind) {
  GraphSystem& graph = graphSystem();
  TramsollClient client;
  ItemSource source{dataSource, customDir, fileNumber, systemSelector(graph, live(), ordinarySystems()), unitKind, 0};
  CursorTexts last;
  for (const auto& unit : unitsByNumber(units)) {
    source.unitNumber = unit->airconNumber;
    for (const auto& item : itemsByListNo(*unit)) {
      last = client.cursorData(source, item->dataItemNo, graph.graphCusorNo);
      item->cusorData = last.valueText;
      item->changeTime = last.timeText;
    }
  }
  // The date of the collection's last read, when it had one.
  if (last.month == 0) return;
  graph.cusorYear = last.year;
  graph.cusorMonth = last.month;
  graph.cusorDay = last.day;
  graph.cusorTime = last.secondOfDay;
}

void frmDataShow::s_ccc2(int32_t& row, const Collection<GraphAircon>& units) {
  Grid grid(*grdList);
  for (const auto& unit : unitsByNumber(units)) {
    for (const auto& item : itemsByListNo(*unit)) {
      if (item->cusorData != item->cusorDataOld) {
        grid.setText(row - 1, kValueColumn, item->cusorData);
        item->cusorDataOld = item->cusorData;
        adjustScaleText(row, item->cusorData);
      }
      if (item->changeTime != item->changeTimeOld) {
        grid.setText(row - 1, kTimeColumn, item->changeTime);
        item->changeTimeOld = item->changeTime;
      }
      ++row;
    }
  }
}

void frmDataShow::adjustScaleText(int32_t row, const QString& value) {
  Grid grid(*grdList);
  if (const auto scale = adjustedFullScale(value, grid.text(row - 1, kFullScaleColumn))) {
    grid.setText(row - 1, kFullScaleColumn, *scale);
  }
}

void frmDataShow::showCusorData() {
  if (flagForEnd) return;
  flagForEndOk = false;
  grdList->setUpdatesEnabled(false);
  // Whatever happens, the list redraws again and the window may close.
  const auto restore = qScopeGuard([this] {
    grdList->setUpdatesEnabled(true);
    flagForEndOk = true;
  });
  const int current = grdList->currentRow() + 1;
  if (current >= 1 && current != lastRow_) lastRow_ = current;  // the engineer's choice survives
  int32_t row = 1;
  for (const UnitGroup& group : listedGroups(graphSystem())) s_ccc2(row, *group.units);
  selectWholeRow(lastRow_);
}

void frmDataShow::showCusor() {
  if (flagForEnd) return;
  flagForEndOk = false;
  placeCursorLine(*linCusorAnalog, *picAnalog, screen_.cursorX());
  placeCursorLine(*linCusorDigital, *picDigital, screen_.cursorX());
  const int32_t trigger = screen_.screen().graphTriggerNo;
  if (!live() && trigger != 0) {
    linTriggerAnalog->hide();
    linTriggerDigital->hide();
    if (screen_.triggerOnScreen()) {
      placeCursorLine(*linTriggerAnalog, *picAnalog, screen_.recordX(trigger));
      placeCursorLine(*linTriggerDigital, *picDigital, screen_.recordX(trigger));
      linTriggerAnalog->show();
      linTriggerDigital->show();
    }
  }
  flagForEndOk = true;
}

void frmDataShow::placeCursorLine(QFrame& line, const QFrame& area, int32_t x) {
  const QRect inner = area.contentsRect();
  line.setGeometry(inner.left() + twipsToPixels(x), inner.top(), 1, inner.height());
}

void frmDataShow::showLabel() {
  if (flagForEnd) return;
  flagForEndOk = false;
  const GraphSystem& graph = graphSystem();
  lblDay->setText(cursorDayText(graph, live()));
  const std::array<int32_t, 3> seconds = screen_.timeAxisSeconds(graph.cusorTime, graph.saveTime);
  for (std::size_t i = 0; i < lblGraph.size(); ++i) {
    lblGraph[i]->setText(secondsToTimeText(seconds[i]));
    lblGraph[i]->adjustSize();  // at least the design width, from the same left
    lblGraph[i]->resize(std::max(lblGraph[i]->width(), twipsToPixels(kTimeLabelWidth)), lblGraph[i]->height());
  }
  flagForEndOk = true;
}

// ---- Model ----

void frmDataShow::deleteGraphSystemObj() {
  if (!graphSystemObj) return;
  GraphSystem& graph = *graphSystemObj;
  const std::array<Collection<GraphAircon>*, 4> collections{&graph.airconsOut, &graph.airconsIn, &graph.airconsCen,
                                                            &graph.airconsSen};
  const bool anyUnit = std::any_of(collections.begin(), collections.end(),
                                   [](const Collection<GraphAircon>* units) { return !units->isEmpty(); });
  if (!anyUnit) return;
  for (Collection<GraphAircon>* units : collections) {
    for (const auto& unit : *units) unit->dataItems.clear();
    units->clear();
  }
  graphSystemObj.reset();
}

// ---- Busy state ----

void frmDataShow::beginBusy() {
  if (busyDepth_++ > 0) return;
  setCursor(Qt::WaitCursor);
  cboAircon->setEnabled(false);
  const std::array<QPushButton*, 7> buttons{cmdLarge, cmdSmall, cmdBackward, cmdForward, cmdLeft, cmdRight, cmdSearch};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    savedEnabled_[i] = buttons[i]->isEnabled();
    buttons[i]->setEnabled(false);
  }
}

void frmDataShow::endBusy() {
  if (busyDepth_ == 0 || --busyDepth_ > 0) return;
  const std::array<QPushButton*, 7> buttons{cmdLarge, cmdSmall, cmdBackward, cmdForward, cmdLeft, cmdRight, cmdSearch};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (savedEnabled_[i]) buttons[i]->setEnabled(true);
  }
  cboAircon->setEnabled(true);
  unsetCursor();
}

// ---- The engineer's commands ----

void frmDataShow::cboAircon_Click(int index) {
  if (flagForEnd) return;
  EventManager& guard = eventManager();
  if (!guard.askEvent(kDataShowFormName, formNumber, dataSource, kUserEvent)) return;
  guard.setEvent(kDataShowFormName, formNumber, dataSource, kUserEvent);
  flagForEndOk = false;
  beginBusy();
  graphSystem().airconNumberNow = index + 1;
  setDefaultGraph();
  showGraphMarkerFirst();
  showGraph();
  endBusy();
  flagForEndOk = true;
  guard.clearEvent(kDataShowFormName, formNumber, dataSource, kUserEvent);
}

void frmDataShow::cmdSearch_Click() {
  // A recording without records opens the search all the same: its search
  // then tells that nothing matches.
  if (live() || flagForEnd) return;
  const int32_t row = grdList->currentRow() + 1;
  if (row != searchRow_) {
    flagSearchMinMax = false;
    searchMinValue = searchMaxValue = 0;
    searchIndex = 0;
    searchUpValue = searchDownValue = 0;
    searchRow_ = row;
  }
  const SearchTarget target = searchTargetOfRow(graphSystem(), row);
  switch (target.kind) {
    case SearchKind::Analog:
    case SearchKind::ErrorCode:
      openSearchWindow(target, Grid(*grdList).text(row - 1, kNameColumn));
      break;
    case SearchKind::TwoState:
      showMessage(QStringLiteral("14-1"), QString(), tableText(kTwoStateSearchText), QString());
      break;
    case SearchKind::None:
      break;
  }
  selectWholeRow(row);
}

void frmDataShow::cmdPrint_Click() {
  const QString question = tableText(kPrintQuestionText) + QStringLiteral("\n\n( ") + tableText(kPrintWarningText) +
                           QStringLiteral(" )\n");
  if (askYesNo(question) != kAnswerYes) return;
  if (printWindowImage(*this) != PrintOutcome::Printed) {
    showMessage(QStringLiteral("6-6"), QString(), tableText(kNoPrinterText), QString());
    return;
  }
  showAnalogGraph();
  showDigitalGraph();
}

// ---- Live refresh ----

void frmDataShow::tmrForMonitor_Timer() {
  if (flagForEnd || busyFlag()) return;
  EventManager& guard = eventManager();
  if (!guard.askEvent(kDataShowFormName, formNumber, dataSource, kTimerEvent)) return;
  guard.setEvent(kDataShowFormName, formNumber, dataSource, kTimerEvent);
  flagForEndOk = false;
  beginBusy();
  showCusor();
  setCusorData();
  showLabel();
  // Other windows' events run here; the window may start closing meanwhile.
  const QPointer<frmDataShow> alive(this);
  const auto stillOpen = [&] {
    QApplication::processEvents();
    if (!alive) return false;
    if (guard.askClose(kDataShowFormName, formNumber, dataSource)) return true;
    flagForEndOk = true;
    return false;
  };
  if (!stillOpen()) return;
  showCusorData();
  if (!stillOpen()) return;
  showGraph();
  endBusy();
  flagForEndOk = true;
  guard.clearEvent(kDataShowFormName, formNumber, dataSource, kTimerEvent);
  redrawDetailForms();
}

// ---- Closing ----

void frmDataShow::cancel() {
  EventManager& guard = eventManager();
  if (!guard.askEvent(kDataShowFormName, formNumber, dataSource, kCloseEvent)) return;
  guard.setEvent(kDataShowFormName, formNumber, dataSource, kCloseEvent);
  prepareForEndFormDataShow();
  guard.clearEvent(kDataShowFormName, formNumber, dataSource, kCloseEvent);
  closeDetailForms();
}

void frmDataShow::prepareForEndFormDataShow() {
  // Asked by its owner and by the end of the program: the file is released
  // once.
  if (flagForEnd) return;
  flagForEnd = true;
  tmrForMonitor->stop();
  tmrForEnd->start();
  hideGivingWayToTheWindowBelow();
  if (!live()) tramsollApi().closeDataFile(textForLibrary(customDir).constData(), fileNumber);
}

void frmDataShow::hideGivingWayToTheWindowBelow() {
  QMdiSubWindow* own = subWindow();
  if (!own) return;
  QMdiArea* area = own->mdiArea();
  const bool active = area && area->activeSubWindow() == own;
  own->hide();
  if (!active) return;
  // The window it covered becomes the active one again (the area would
  // take the first one made).
  const QList<QMdiSubWindow*> stacked = area->subWindowList(QMdiArea::StackingOrder);
  for (auto below = stacked.rbegin(); below != stacked.rend(); ++below) {
    if (*below != own && (*below)->isVisible()) {
      area->setActiveSubWindow(*below);
      return;
    }
  }
}

void frmDataShow::tmrForEnd_Timer() {
  if (!flagForEnd) return;
  if (!flagForEndOk) {
    tmrForEnd->start();  // still drawing: look again later
    return;
  }
  unload();
  deleteGraphSystemObj();
  // The owner may drop the last holder of this window: leave it last.
  if (auto leave = std::exchange(leaveOwner_, nullptr)) leave(*this);
}

// The display window of one system's data, live (opened by the map window)
// or replaying a recorded file (opened by the customer data window). Several
// are open at once, each an instance of its own numbered by formNumber and
// held by its opener's DisplayWindowOwner under that number as text; both
// openers go through display/data_show_opening.h.
//
// The window lists the system's units in its unit box and their data items
// in its item list, with the values and change times at the cursor; its
// graphs mark the items graphed by default. A live window reads the newest
// values every 5 s. Closing is a handshake: the window hides, releases its
// recorded file and unloads 5 s later, leaving its opener's collection.
//
// The graphs draw the graphed items over the screen's records: up to eight
// analog items in their pens with legends, up to eight two-state and code
// items in the digital lanes (display/data_show_graphs.cpp). A second click
// on a row of the item list, or F12, turns its item on or off. The window
// lays itself out whenever it is resized.
//
// A replay moves through its recording by key and mouse: zoom along the
// scale ladder (F1, F2), half a screen back and forth (F3, F4), the cursor
// one record left or right (F5, F6 and the arrows) or onto a click in the
// graphs; the search windows put the cursor on what they find (moveCusor).
// D opens a detail window on the values behind the screen. These live in
// display/data_show_navigation.cpp.
#pragma once

#include "display/data_show_layout.h"
#include "display/graph_area.h"
#include "display/graphed_items.h"
#include "display/pen_table.h"
#include "display/record_arithmetic.h"
#include "frame/form.h"
#include "frame/key_table.h"
#include "types/GraphSystem.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;
class frmDataShow2;
struct Redraw;
struct SearchTarget;

// The window's name for the event guard: with formNumber and dataSource it
// tells a window from every other.
inline const QString kDataShowFormName = QStringLiteral("frmDataShow");

class frmDataShow : public ChildForm {
  Q_OBJECT
 public:
  // A new window, to be held in an opener's collection; dropping the last
  // holder deletes the window.
  static std::shared_ptr<frmDataShow> create();
  // A window made elsewhere (a test's stand-in), held the same way.
  static std::shared_ptr<frmDataShow> hold(frmDataShow* window);

  // ---- Set by the opener before the window is first used; the model and
  // the search memory are read by other windows too.
  int32_t formNumber = 0;
  bool flagForEnd = false;   // closing: every handler returns at once
  bool flagForEndOk = true;  // no operation of the window runs: it may unload
  int32_t realtime = 1;      // 1 live window of the map, 0 replay
  std::shared_ptr<GraphSystem> graphSystemObj;
  int32_t dataSource = 0;  // 0 the library's live tables, 1 a recorded file
  QString customDir;       // replay: the customer folder of the file
  int32_t fileNumber = 0;  // replay: the file's index in that folder
  // The search memory of the analog search: cleared when a search starts
  // from another row of the item list.
  bool flagSearchMinMax = false;
  float searchMinValue = 0;
  float searchMaxValue = 0;
  int32_t searchIndex = 0;
  float searchUpValue = 0;
  float searchDownValue = 0;
  // Live: the open map's count of ordinary systems, which a central-bus
  // system's number follows in the library and the caption.
  std::function<int32_t()> ordinarySystemCount;

  // The window's model, made empty on first use.
  GraphSystem& graphSystem();

  // ---- The steps the openers and the window's own operations call ----
  virtual void showTital();
  // Reads the units' data items from the library and sets the first screen.
  virtual void setDataItem();
  // The chosen unit's items take their default graph flags.
  virtual void setDefaultGraph();
  // Fills the unit box and the item list.
  virtual void showDataItem();
  // Marks the graphed items: pens for the first eight analog ones.
  virtual void showGraphMarkerFirst();
  // Reads the values at the cursor.
  virtual void setCusorData();
  // The cursor's date and time, and the times under the graphs.
  virtual void showLabel();
  // Places the cursor and trigger lines.
  virtual void showCusor();
  // Writes the changed values and times of one unit collection's items.
  void s_ccc2(int32_t& row, const Collection<GraphAircon>& units);
  virtual void showCusorData();
  virtual void showGraph();
  void showAnalogGraph();
  void showDigitalGraph();
  // Releases the window's model; a model without units is kept.
  virtual void deleteGraphSystemObj();
  // Puts the cursor on a record a search found (replay): the screen moves
  // to the grid screen holding it when it lies off the screen.
  void moveCusor(int32_t tmpCusorNo);
  // Starts the window's own closing: it hides, releases its recorded file
  // (replay windows) and unloads itself when its end timer fires, leaving
  // its opener's collection. A window already closing is left as it is.
  void prepareForEndFormDataShow();

  // The detail windows opened from this window, under their formNumber
  // as text; a detail window that unloads leaves it.
  Collection<frmDataShow2> detailForms;
  void removeFormDataShow(const frmDataShow2& form);

  // Cancel (Esc, the close box): asks the event guard, then closes.
  void cancel() override;
  // The timers' steps.
  void tmrForMonitor_Timer();
  void tmrForEnd_Timer();

  // ---- State the tests and the later parts of the window read ----
  const RecordArithmetic& screen() const { return screen_; }
  const PenTable& pens() const { return pens_; }
  int32_t lastRow() const { return lastRow_; }
  bool busyFlag() const { return busyDepth_ > 0; }
  const std::array<LaneBar, 8>& digitalBars() const { return digitalBars_; }
  // The graphed items as the last redraw or toggle counted them.
  const GraphedCounts& graphedCounts() const { return counts_; }

  // ---- Controls ----
  QComboBox* cboAircon = nullptr;
  QTableWidget* grdList = nullptr;
  GraphArea* picAnalog = nullptr;
  GraphArea* picDigital = nullptr;
  GraphArea* picVscale = nullptr;
  QGroupBox* fraGraph = nullptr;
  QGroupBox* fraCusor = nullptr;
  QPushButton* cmdLarge = nullptr;
  QPushButton* cmdSmall = nullptr;
  QPushButton* cmdBackward = nullptr;
  QPushButton* cmdForward = nullptr;
  QPushButton* cmdLeft = nullptr;
  QPushButton* cmdRight = nullptr;
  QPushButton* cmdSearch = nullptr;
  QPushButton* cmdPrint = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* detail = nullptr;
  QLabel* lblDay = nullptr;
  QLineEdit* txtCurY = nullptr;
  std::array<QLabel*, 3> lblGraph{};  // times at the left, the middle and the right
  std::array<QFrame*, 3> linGraph{};
  std::array<QLabel*, 8> lblAnalog{};   // pen legends
  std::array<QLabel*, 8> lblDigital{};  // lane labels
  std::array<QFrame*, 9> linDigital{};  // lane lines
  // The vertical scale's labels: "100" at the top, lblP(1..9) "10".."90",
  // lblP(0) "-10", "0%" and "-20".
  QLabel* lblP100 = nullptr;
  std::array<QLabel*, 10> lblP{};
  QLabel* lblP0 = nullptr;
  QLabel* lblP20 = nullptr;
  // The horizontal cursor over the analog area and the scale.
  QFrame* Hcursor = nullptr;
  QFrame* HcursorS = nullptr;
  QFrame* linCusorAnalog = nullptr;
  QFrame* linCusorDigital = nullptr;
  QFrame* linTriggerAnalog = nullptr;
  QFrame* linTriggerDigital = nullptr;
  QTimer* tmrForMonitor = nullptr;
  QTimer* tmrForEnd = nullptr;

  static constexpr int kMonitorMs = 5000;
  static constexpr int kEndDelayMs = 5000;

 protected:
  frmDataShow();
  void onLoad() override;
  void onUnload() override;
  void onActivate() override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void makeControls();
  void makeGraphAreas();
  void makeScaleLabels();
  // The drawing of the graphs and the item list's clicks and F12.
  void makeGraphDrawing();
  void makeButtons();
  void setControlCaptions();
  // Places the controls for a layout and takes the analog area's x range.
  void layOutControls(const DataShowLayout& layout);
  int32_t ordinarySystems() const;
  bool live() const { return realtime == 1; }

  // The counters of the screen into the model, and the navigation buttons
  // from them.
  void storeScreen();
  void setNavigationButtons();
  void setGridHeadings();
  void readCursorValues(const Collection<GraphAircon>& units, int32_t unitKind);
  // The graph marker of a row (0 off, 1 analog in a pen, 2 digital) and the
  // colours of its name and value.
  void setRowMarker(int32_t state, int32_t row, int32_t slot);
  // The full-scale cell of a row after its value text changed.
  void adjustScaleText(int32_t row, const QString& value);
  void selectWholeRow(int32_t row);
  void placeCursorLine(QFrame& line, const QFrame& area, int32_t x);
  void hideGivingWayToTheWindowBelow();

  // ---- Graphs, layout and scales (display/data_show_graphs.cpp) ----
  // Lays the window out for its size and redraws the graphs and the cursor;
  // nothing while minimised.
  void Form_Resize();
  // The plotting's geometry and the scale's figures after a layout.
  void setGraphGeometry(const AreaGeometry& geometry);
  // Draws one item over what its area shows.
  void plotItem(const PlotRequest& item);
  // Where the graphs' samples come from, and the display options the
  // scales follow, before a drawing.
  void prepareDrawing();
  void picAnalog_MouseMove(double y);
  void picVscale_MouseMove(double y);
  void showLevelAt(double y, int scaleHeight);
  void grdList_Click();
  void grdList_KeyDown(int keyCode);
  // A second selection of the row (or F12) turns its item on or off.
  void toggleGraphOfRow(int32_t row);
  void turnItemOnOrOff(int32_t row);

  // Busy state: pointer, unit box and the seven navigation and search
  // buttons; pairs nest, the outer one saves and restores.
  void beginBusy();
  void endBusy();

  void cboAircon_Click(int index);
  void cmdSearch_Click();
  void cmdPrint_Click();
  // Navigation of a replay, the detail windows and the searches.
  void cmdLarge_Click();
  void cmdSmall_Click();
  void cmdBackward_Click();
  void cmdForward_Click();
  void cmdLeft_Click();
  void cmdRight_Click();
  void detail_Click();
  void openSearchWindow(const SearchTarget& target, const QString& dataItemName);
  void closeDetailForms();
  void redrawDetailForms();
  // The detail windows go with the window.
  void deleteDetailForms();
  // A step of the record arithmetic, then what it asks to redraw in one busy
  // state, then the navigation buttons it left.
  template <class Step>
  void navigate(Step step);
  void redrawScreen(const Redraw& redraw);
  // A mouse button pressed in either graph, x in twips from the area's left.
  void watchGraphClicks();
  void graphMouseDown(double x);
  friend class GraphClickFilter;

  friend class DisplayWindowOwner;
  // Set by the owner that holds the window: drops it from its collection.
  std::function<void(const frmDataShow&)> leaveOwner_;

  KeyTable keys_;
  RecordArithmetic screen_;
  PenTable pens_;
  std::array<LaneBar, 8> digitalBars_ = ::digitalBars();
  struct GraphDrawing;
  std::shared_ptr<GraphDrawing> drawing_;  // made with the controls, complete where it draws
  GraphedCounts counts_;
  std::array<bool, 7> savedEnabled_{};
  int32_t busyDepth_ = 0;
  int32_t lastRow_ = 0;
  int32_t searchRow_ = 0;
};

// The program's main window: a multiple-document frame that owns and
// centres every other window, carries the menu bar and a status line, and
// holds the end timer of the program.
#pragma once

#include "frame/main_menu_commands.h"
#include "frame/program_values.h"
#include "frame/single_form.h"

#include <QMainWindow>
#include <QSize>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;

class frmMdi : public SingleForm<frmMdi, QMainWindow> {
  Q_OBJECT
 public:
  // The size of the inner area that holds the child windows.
  QSize innerSize() const;

  // The load handler: the end timer off, the captions set.
  void load();
  // Title and menu captions: the design captions, or the text table's when
  // it carries a language tag.
  void showCaption();

  // Function menu: enables the kinds of work that may start now.
  void mnuFunction_Opening();
  // The Function menu item of a command.
  QAction* functionItem(MainMenuCommandId id) const;
  // Edit menu on the focused text or combo box.
  void mnuEdit_Opening();
  void mnuCut_Click();
  void mnuCopy_Click();
  void mnuPaste_Click();
  // COM1..COM8.
  void mnuComNo_Click(int32_t portNo);
  void mnuPermission_Click();
  void mnuProhibition_Click();
  // Puts a centralized-operation setting in force without the menu's
  // refusal while the map gathers: the value, the menu's ticks and the
  // status panel's line. Adopting a changed bus needs permission.
  void showCentralOperation(bool permitted);
  // The handler of every display option: an index the option does not accept
  // becomes its replacement; the index is ticked and kept in displayOptions
  // (the temperature unit also goes to the library).
  void setDisplayOption(DisplayOption option, int32_t index);
  void mnuFontSetting_Click();
  void mnuAdapterType_Click(int32_t index);
  // Tick the item of the adapter type in use, of the central-operation
  // setting in force.
  void showAdapterTicks();
  void showCentralTicks();
  void mnuArrange_Click(int32_t arrangement);
  // Help item 0 the help's first page, 1 and 2 its pages 1001 and 1002.
  void mnuHelp_Click(int32_t item);
  void mnuVersion_Click();

  QMdiArea* mdiArea = nullptr;
  QLabel* lblMdiStatus = nullptr;
  // Ends the program once the display windows have closed (500 ms).
  QTimer* tmrForEndApp = nullptr;

  // The Function menu, made from the main-menu command table.
  QMenu* mnuFunction = nullptr;
  QAction* mnuRecode = nullptr;
  QAction* mnuPlay = nullptr;
  QAction* mnuTransfer = nullptr;
  QAction* mnuCustom = nullptr;
  QAction* mnuSs = nullptr;
  QAction* mnuMainMenu = nullptr;
  QAction* mnuEnd = nullptr;

  QMenu* mnuEdit = nullptr;
  QAction* mnuCut = nullptr;
  QAction* mnuCopy = nullptr;
  QAction* mnuPaste = nullptr;

  QMenu* mnuOption = nullptr;
  std::array<QAction*, 8> mnuComNo{};
  QAction* mnuPermission = nullptr;
  QAction* mnuProhibition = nullptr;
  std::array<QAction*, 2> mnuFontSize{};   // 8, 9 points
  std::array<QAction*, 3> mnuSubLine{};    // none, 10 %, 20 %
  std::array<QAction*, 2> mnuCursor{};     // none, on
  std::array<QAction*, 2> mnuOsVersion{};  // old, large-disk free-space query
  std::array<QAction*, 2> mnuTempUnit{};   // C with kgf/cm2, F with PSI
  std::array<QAction*, 2> mnuFontColor{};  // black only, colours
  QAction* mnuFontSetting = nullptr;
  std::array<QAction*, 2> mnuAdapterType{};  // Vexa5, Plus adapter

  QMenu* mnuWindow = nullptr;
  // Tile horizontally, tile vertically, cascade, arrange icons.
  std::array<QAction*, 4> mnuArrange{};
  QMenu* mnuHelp = nullptr;
  std::array<QAction*, 3> mnuHelpItem{};
  QAction* mnuVersion = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 protected:
  frmMdi();

 private:
  void createFunctionMenu();
  void createEditMenu();
  void createOptionMenu();
  void createDisplayOptionMenu(QMenu* parent);
  void createWindowAndHelpMenus();
  // A checkable item of a one-of-several choice: its group is exclusive, so
  // the menu shows the items as such and ticks one at a time.
  QAction* choiceItem(QMenu* menu, QActionGroup* group, const QString& text);
  // A checkable item of a display option, ticked through setDisplayOption.
  QAction* addDisplayItem(QMenu* menu, const QString& caption, DisplayOption option, int16_t value);
  // Remembers the text-table entry that replaces an item's design caption.
  void caption(QAction* action, int entry, bool onlyWhenNotEmpty = false);
  void changeCentralOperation(bool permitted);
  void setStatusPanelLine(int line, const QString& text);

  struct CaptionEntry {
    QAction* action;
    int entry;
    bool onlyWhenNotEmpty;
  };
  std::vector<CaptionEntry> captions_;
  std::vector<std::pair<DisplayOption, std::pair<int16_t, QAction*>>> displayItems_;
  std::vector<std::pair<MainMenuCommandId, QAction*>> functionItems_;
};

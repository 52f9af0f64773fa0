#include "frame/frmMdi.h"

#include "frame/FrmMes.h"
#include "frame/accessible_sub_window.h"
#include "frame/dialogs/ask_yes_no.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/frmDspParam.h"
#include "frame/frmMain.h"
#include "frame/help.h"
#include "frame/library/tramsoll_api.h"
#include "frame/main_window.h"
#include "frame/main_window_keys.h"
#include "frame/program_end.h"
#include "frame/site/program_settings.h"
#include "frame/site/unsaved_settings.h"
#include "frame/texts/text_table.h"
#include "frame/window_arrangement.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>

namespace {

constexpr int kEndTimerMs = 500;

// The text box or combo box that has the focus, as the Edit menu sees it.
struct TextControl {
  QLineEdit* line = nullptr;
  QPlainTextEdit* text = nullptr;
  bool found = false;  // a text or combo box, editable or not

  static TextControl focused() {
    TextControl control;
    QWidget* focus = QApplication::focusWidget();
    if (auto* combo = qobject_cast<QComboBox*>(focus)) {
      control.found = true;
      control.line = combo->lineEdit();
    } else if (auto* line = qobject_cast<QLineEdit*>(focus)) {
      control.found = true;
      control.line = line;
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) {
      control.found = true;
      control.text = text;
    }
    return control;
  }
};

}  // namespace

// A dialog shown before start-up has shown the main window still gets it as
// its owner.
[[maybe_unused]] const bool kMainWindowMaker = (setMainWindowMaker([] { frmMdi::instance(); }), true);

frmMdi::frmMdi() {
  installSubWindowAccessibility();
  setWindowTitle(QStringLiteral("Pelomar Vexa 5 Software"));
  mdiArea = new QMdiArea(this);
  // A window larger than the area (never squeezed by tiling) is scrolled to.
  mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea);
  lblMdiStatus = new QLabel(this);
  statusBar()->addWidget(lblMdiStatus, 1);
  tmrForEndApp = new QTimer(this);
  tmrForEndApp->setInterval(kEndTimerMs);
  connect(tmrForEndApp, &QTimer::timeout, this, [] { tmrForEndApp_Timer(); });
  // Before anything else is made, so that windows made from here on find it.
  handOverMainWindow({this, mdiArea, lblMdiStatus, tmrForEndApp});
  // The status panel ticks the adapter type in use when it loads.
  connect(&frmDspParam::instance(), &ChildForm::loaded, this, [this] { showAdapterTicks(); });

  createFunctionMenu();
  createEditMenu();
  createOptionMenu();
  createWindowAndHelpMenus();
  new MainWindowKeys(*this, *mdiArea);
}

QSize frmMdi::innerSize() const { return mdiArea->size(); }

void frmMdi::load() {
  tmrForEndApp->stop();
  showCaption();
}

void frmMdi::caption(QAction* action, int entry, bool onlyWhenNotEmpty) {
  captions_.push_back({action, entry, onlyWhenNotEmpty});
}

void frmMdi::showCaption() {
  if (!captionsFromTable()) return;
  setWindowTitle(tableText(19));
  QList<int> empty;
  for (const CaptionEntry& entry : captions_) {
    const QString text = tableText(entry.entry);
    if (entry.onlyWhenNotEmpty && text.isEmpty()) continue;
    if (text.isEmpty()) empty << entry.entry;
    entry.action->setText(text);
  }
  reportEmptyCaptions(empty);
}

// ---- Function menu ----

void frmMdi::createFunctionMenu() {
  mnuFunction = menuBar()->addMenu(QStringLiteral("Function (&F)"));
  caption(mnuFunction->menuAction(), 20);
  for (const MainMenuCommand& command : mainMenuCommands()) {
    if (command.separatorBefore) mnuFunction->addSeparator();
    QAction* action = mnuFunction->addAction(QString::fromLatin1(command.menuCaption));
    caption(action, command.menuEntry);
    action->setShortcut(command.menuShortcut);
    connect(action, &QAction::triggered, this, [open = command.open] {
      if (open) open();
    });
    functionItems_.emplace_back(command.id, action);
  }
  mnuRecode = functionItem(kCommandRecord);
  mnuPlay = functionItem(kCommandPlay);
  mnuTransfer = functionItem(kCommandTransfer);
  mnuCustom = functionItem(kCommandCustom);
  mnuSs = functionItem(kCommandSs);
  mnuMainMenu = functionItem(kCommandMainMenu);
  mnuEnd = functionItem(kCommandEnd);
  connect(mnuFunction, &QMenu::aboutToShow, this, [this] { mnuFunction_Opening(); });
}

QAction* frmMdi::functionItem(MainMenuCommandId id) const {
  for (const auto& [itemId, action] : functionItems_) {
    if (itemId == id) return action;
  }
  return nullptr;
}

void frmMdi::mnuFunction_Opening() {
  for (const MainMenuCommand& command : mainMenuCommands()) {
    if (QAction* item = functionItem(command.id)) item->setEnabled(isCommandEnabled(command, program()));
  }
}

// ---- Edit menu ----

void frmMdi::createEditMenu() {
  mnuEdit = menuBar()->addMenu(QStringLiteral("Edit (&E)"));
  caption(mnuEdit->menuAction(), 28);
  mnuCut = mnuEdit->addAction(QStringLiteral("Cut (&T)"));
  mnuCopy = mnuEdit->addAction(QStringLiteral("Copy (&C)"));
  mnuPaste = mnuEdit->addAction(QStringLiteral("Paste (&P)"));
  caption(mnuCut, 29, true);
  caption(mnuCopy, 30, true);
  caption(mnuPaste, 31, true);
  connect(mnuEdit, &QMenu::aboutToShow, this, [this] { mnuEdit_Opening(); });
  connect(mnuCut, &QAction::triggered, this, [this] { mnuCut_Click(); });
  connect(mnuCopy, &QAction::triggered, this, [this] { mnuCopy_Click(); });
  connect(mnuPaste, &QAction::triggered, this, [this] { mnuPaste_Click(); });
}

void frmMdi::mnuEdit_Opening() {
  mnuCut->setEnabled(true);
  mnuCopy->setEnabled(true);
  mnuPaste->setEnabled(false);
  const TextControl control = TextControl::focused();
  if (!control.found) {
    mnuCut->setEnabled(false);
    mnuCopy->setEnabled(false);
    return;
  }
  mnuPaste->setEnabled(!QApplication::clipboard()->text().isEmpty());
}

void frmMdi::mnuCut_Click() {
  // The controls' own cut and copy act only on a selection; a password box
  // gives nothing away.
  const TextControl control = TextControl::focused();
  if (control.line) control.line->cut();
  if (control.text) control.text->cut();
}

void frmMdi::mnuCopy_Click() {
  const TextControl control = TextControl::focused();
  if (control.line) control.line->copy();
  if (control.text) control.text->copy();
}

void frmMdi::mnuPaste_Click() {
  const TextControl control = TextControl::focused();
  if (control.line) control.line->paste();
  if (control.text) control.text->paste();
}

// ---- Option menu ----

void frmMdi::createOptionMenu() {
  mnuOption = menuBar()->addMenu(QStringLiteral("Option (&O)"));
  caption(mnuOption->menuAction(), 32);

  QMenu* port = mnuOption->addMenu(QStringLiteral("Communication Port (&T)"));
  caption(port->menuAction(), 33);
  QActionGroup* ports = new QActionGroup(port);
  for (int n = 1; n <= 8; ++n) {
    QAction* item = choiceItem(port, ports, QStringLiteral("COM%1").arg(n));
    connect(item, &QAction::triggered, this, [this, n] { mnuComNo_Click(n); });
    mnuComNo[static_cast<std::size_t>(n - 1)] = item;
  }

  QMenu* central = mnuOption->addMenu(QStringLiteral("Centralized operation(&C)"));
  caption(central->menuAction(), 34);
  QActionGroup* centralChoice = new QActionGroup(central);
  mnuPermission = choiceItem(central, centralChoice, QStringLiteral("Permission"));
  mnuProhibition = choiceItem(central, centralChoice, QStringLiteral("Prohibition"));
  caption(mnuPermission, 35);
  caption(mnuProhibition, 36);
  connect(mnuPermission, &QAction::triggered, this, [this] { mnuPermission_Click(); });
  connect(mnuProhibition, &QAction::triggered, this, [this] { mnuProhibition_Click(); });

  createDisplayOptionMenu(mnuOption);

  QMenu* os = mnuOption->addMenu(QStringLiteral("OS setting (&O)"));
  caption(os->menuAction(), 51);
  mnuOsVersion[0] = addDisplayItem(os, QStringLiteral("before Windows95 OSR2"), kOsVersion, 0);
  mnuOsVersion[1] = addDisplayItem(os, QStringLiteral("after Windows95 OSR2 (98,Me,NT,2000,XP,Vista)"), kOsVersion, 1);
  caption(mnuOsVersion[0], 52);
  caption(mnuOsVersion[1], 53);

  mnuFontSetting = mnuOption->addAction(QStringLiteral("Font setting"));
  caption(mnuFontSetting, 54);
  connect(mnuFontSetting, &QAction::triggered, this, [this] { mnuFontSetting_Click(); });

  QMenu* adapter = mnuOption->addMenu(QStringLiteral("Adapter type (&A)"));
  caption(adapter->menuAction(), 377);
  const char* adapterNames[2] = {"Pelomar vexa5", "Plus Adapter"};
  QActionGroup* adapters = new QActionGroup(adapter);
  for (int i = 0; i < 2; ++i) {
    QAction* item = choiceItem(adapter, adapters, QString::fromLatin1(adapterNames[i]));
    connect(item, &QAction::triggered, this, [this, i] { mnuAdapterType_Click(i); });
    mnuAdapterType[static_cast<std::size_t>(i)] = item;
  }
}

void frmMdi::createDisplayOptionMenu(QMenu* parent) {
  QMenu* display = parent->addMenu(QStringLiteral("Ope. data disp. setting"));
  caption(display->menuAction(), 37);
  // The headings with three leading blanks group the items that follow them.
  const auto heading = [this, display](const char* text, int entry) {
    QMenu* menu = display->addMenu(QString::fromLatin1(text));
    caption(menu->menuAction(), entry);
    return menu;
  };
  QMenu* fontSize = heading("   font size", 38);
  mnuFontSize[0] = addDisplayItem(fontSize, QStringLiteral("8 point (small)"), kFontSize, 8);
  mnuFontSize[1] = addDisplayItem(fontSize, QStringLiteral("9 point (middle)"), kFontSize, 9);
  caption(mnuFontSize[0], 39);
  caption(mnuFontSize[1], 40);
  QMenu* subLine = heading("   sub line setting", 44);
  const char* subLineNames[3] = {"none", "10%", "20%"};
  for (int i = 0; i < 3; ++i) {
    mnuSubLine[static_cast<std::size_t>(i)] =
        addDisplayItem(subLine, QString::fromLatin1(subLineNames[i]), kSubLine, static_cast<int16_t>(10 * i));
    caption(mnuSubLine[static_cast<std::size_t>(i)], 45 + i);
  }
  QMenu* cursor = heading("   cursor setting", 48);
  mnuCursor[0] = addDisplayItem(cursor, QStringLiteral("none"), kCursor, 0);
  mnuCursor[1] = addDisplayItem(cursor, QStringLiteral("ON"), kCursor, 1);
  caption(mnuCursor[0], 49);
  caption(mnuCursor[1], 50);
  QMenu* unit = heading("   Unit of Temp.,Pres. (C/F)", 372);
  mnuTempUnit[0] = addDisplayItem(unit, QStringLiteral("C, kgf/cm2"), kTempUnit, 0);
  mnuTempUnit[1] = addDisplayItem(unit, QStringLiteral("F, PSI"), kTempUnit, 1);
  QMenu* color = heading("   Font color", 373);
  mnuFontColor[0] = addDisplayItem(color, QStringLiteral("black only"), kFontColor, 0);
  mnuFontColor[1] = addDisplayItem(color, QStringLiteral("colors"), kFontColor, 1);
}

QAction* frmMdi::choiceItem(QMenu* menu, QActionGroup* group, const QString& text) {
  QAction* item = menu->addAction(text);
  item->setCheckable(true);
  group->addAction(item);
  return item;
}

QAction* frmMdi::addDisplayItem(QMenu* menu, const QString& text, DisplayOption option, int16_t value) {
  // The items of one option share its menu and form one group.
  QActionGroup* group = nullptr;
  for (const auto& [itemOption, item] : displayItems_) {
    if (itemOption == option) group = item.second->actionGroup();
  }
  if (!group) group = new QActionGroup(menu);
  QAction* item = choiceItem(menu, group, text);
  connect(item, &QAction::triggered, this, [this, option, value] { setDisplayOption(option, value); });
  displayItems_.push_back({option, {value, item}});
  return item;
}

void frmMdi::setDisplayOption(DisplayOption option, int32_t index) {
  const int16_t accepted = acceptedDisplayIndex(displayOptionSetting(option), index);
  for (const auto& [itemOption, item] : displayItems_) {
    if (itemOption == option) item.second->setChecked(item.first == accepted);
  }
  program().displayOptions[static_cast<std::size_t>(option)] = accepted;
  if (option == kTempUnit) tramsollApi().setTmpUnit(accepted);
}

void frmMdi::setStatusPanelLine(int line, const QString& text) {
  frmDspParam::instance().Label1[static_cast<std::size_t>(line)]->setText(text);
}

void frmMdi::mnuComNo_Click(int32_t portNo) {
  if (portNo < 1 || portNo > 8) return;
  for (std::size_t i = 0; i < mnuComNo.size(); ++i) mnuComNo[i]->setChecked(static_cast<int32_t>(i) == portNo - 1);
  program().comPortNo = portNo;
  setStatusPanelLine(1, QStringLiteral("Com : COM") + QString::number(portNo));
}

void frmMdi::showCentralTicks() {
  mnuPermission->setChecked(program().centralOperation);
  mnuProhibition->setChecked(!program().centralOperation);
}

void frmMdi::mnuPermission_Click() { changeCentralOperation(true); }

void frmMdi::mnuProhibition_Click() { changeCentralOperation(false); }

void frmMdi::changeCentralOperation(bool permitted) {
  ProgramValues& values = program();
  // While the map gathers in recording work the library keeps the setting
  // it started with.
  if (values.mapRecodeModeOpen && values.centralOperation != permitted) {
    showCentralTicks();
    showMessage(QStringLiteral("12-2"), messageTexts()[44], messageTexts()[45], QString());
    return;
  }
  showCentralOperation(permitted);
  if (!permitted) showMessage(messageTexts()[46], messageTexts()[47], messageTexts()[48], messageTexts()[49]);
}

void frmMdi::showCentralOperation(bool permitted) {
  program().centralOperation = permitted;
  showCentralTicks();
  setStatusPanelLine(2, permitted ? QStringLiteral("Cen.Ope. : ON") : QStringLiteral("Cen.Ope. : OFF"));
}

void frmMdi::mnuFontSetting_Click() {
  QFontDialog dialog(appFont(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const QFont chosen = dialog.selectedFont();
  QFont& font = appFont();
  font.setFamily(chosen.family());
  if (chosen.pointSizeF() > 0) font.setPointSizeF(chosen.pointSizeF());
  font.setBold(chosen.bold());
  font.setItalic(chosen.italic());
  font.setUnderline(chosen.underline());
  font.setStrikeOut(chosen.strikeOut());
}

void frmMdi::showAdapterTicks() {
  const int16_t type = program().adapterOptions[0];
  mnuAdapterType[0]->setChecked(type != 1);
  mnuAdapterType[1]->setChecked(type == 1);
}

void frmMdi::mnuAdapterType_Click(int32_t index) {
  if (index > 1) index = 0;
  // Restores the ticks the menu itself toggled, whatever the answer.
  showAdapterTicks();
  if (index == program().adapterOptions[0]) return;
  if (askYesNoFromTexts(374, 2) != kAnswerYes) return;
  program().adapterOptions[0] = static_cast<int16_t>(index);
  showAdapterTicks();
  tramsollApi().WriteINIfile("ADPTYP", index);
  // The library answers every write alike: reading it back tells.
  if (tramsollApi().ReadINIfile("ADPTYP") != index) {
    noteUnsaved(SavePlace::ProgramFolder);
    reportUnsaved(true);
  }
  // The library reads the type when it starts: the mark says a restart is due.
  QLabel* line = frmDspParam::instance().Label1[0];
  line->setText(line->text() + QLatin1Char('*'));
}

// ---- Window, Help and Version menus ----

void frmMdi::createWindowAndHelpMenus() {
  mnuWindow = menuBar()->addMenu(QStringLiteral("Window(&W)"));
  caption(mnuWindow->menuAction(), 55);
  const std::array<std::pair<const char*, int32_t>, 4> arrangements{{{"Tile horizontally (&R)", kArrangeSideBySide},
                                                                     {"Tile vertically (&L)", kArrangeOneAboveAnother},
                                                                     {"Cascade (&P)", kArrangeCascade},
                                                                     {"Arrange icons (&I)", kArrangeIcons}}};
  for (std::size_t i = 0; i < arrangements.size(); ++i) {
    const int32_t code = arrangements[i].second;
    mnuArrange[i] = mnuWindow->addAction(QString::fromLatin1(arrangements[i].first));
    caption(mnuArrange[i], 56 + static_cast<int>(i));
    connect(mnuArrange[i], &QAction::triggered, this, [this, code] { mnuArrange_Click(code); });
  }

  mnuHelp = menuBar()->addMenu(QStringLiteral("Help(&H)"));
  caption(mnuHelp->menuAction(), 60);
  const std::array<std::pair<const char*, int>, 3> helpItems{
      {{"Pelomar3 help (&H)", 62}, {"Release Note(&R)", 370}, {"Support Models(&S)", 371}}};
  for (std::size_t i = 0; i < helpItems.size(); ++i) {
    mnuHelpItem[i] = mnuHelp->addAction(QString::fromLatin1(helpItems[i].first));
    caption(mnuHelpItem[i], helpItems[i].second);
    const int32_t item = static_cast<int32_t>(i);
    connect(mnuHelpItem[i], &QAction::triggered, this, [this, item] { mnuHelp_Click(item); });
  }

  mnuVersion = menuBar()->addAction(QStringLiteral("Version info.(&A)"));
  caption(mnuVersion, 61);
  connect(mnuVersion, &QAction::triggered, this, [this] { mnuVersion_Click(); });
}

void frmMdi::mnuArrange_Click(int32_t arrangement) { arrangeChildWindows(*mdiArea, arrangement); }

void frmMdi::mnuHelp_Click(int32_t item) {
  if (item == 0) {
    htmlHelp(kHelpDisplayTopic, 0);
  } else {
    htmlHelp(kHelpContext, 1000 + item);
  }
}

void frmMdi::mnuVersion_Click() {
  FrmMes& window = FrmMes::instance();
  window.fillVersionText();
  window.showModeless();
}

// ---- Window events ----

void frmMdi::closeEvent(QCloseEvent* event) {
  if (!mainWindowMayClose()) {
    event->ignore();
    return;
  }
  event->accept();
  // The help viewer opened from here goes with the main window.
  htmlHelp(kHelpCloseAll, 0);
  endProgram();
}

void frmMdi::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    // While the main menu is the active child its own line stays.
    const frmMain& menu = frmMain::instance();
    const bool menuActive = menu.isLoaded() && mdiArea->activeSubWindow() == menu.subWindow();
    lblMdiStatus->setText(tableText(menuActive ? 381 : 380));
  }
  QMainWindow::changeEvent(event);
}

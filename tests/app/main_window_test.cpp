// The main window and the main menu: the menus with their ticks and
// enabling, the option handlers, the font dialog, the window arrangements,
// the Edit menu, help, and the main menu's keys.
#include "frame/FrmMes.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/frmDebugMessage.h"
#include "frame/frmDspParam.h"
#include "frame/frmMain.h"
#include "frame/frmMdi.h"
#include "frame/help.h"
#include "frame/program_values.h"
#include "frame/single_form.h"
#include "frame/texts/text_table.h"
#include "records/frmCustomsData.h"
#include "records/frmCustomsList.h"
#include "records/frmDataTransfer.h"
#include "records/frmSs.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

QString panelLine(int line) { return frmDspParam::instance().Label1[static_cast<std::size_t>(line)]->text(); }

// A child window without content, which any tiling may size as it likes.
template <int N>
class EmptyWindow : public SingleForm<EmptyWindow<N>, ChildForm> {};

}  // namespace

class MainWindowTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void init() {
    ProgramTest::init();
    QVERIFY(activateMainWindow());
  }
  void cleanup() {
    ProgramTest::cleanup();
    program().mapRecodeModeOpen = false;
  }

  void functionMenuAndMainMenuFollowTheWork() {
    frmMdi& main = frmMdi::instance();
    frmMain& menu = frmMain::instance();
    QVERIFY(menu.cmdRecode->isEnabled() && menu.cmdPlay->isEnabled());
    QCOMPARE(main.lblMdiStatus->text(), tableText(381));  // the main menu is active

    main.mnuRecode->trigger();
    QCOMPARE(program().workMode, int32_t(kWorkRecording));
    QVERIFY(!menu.isLoaded());
    QCOMPARE(main.lblMdiStatus->text(), tableText(382));  // the customer list's hint follows the menu's
    QVERIFY(frmCustomsList::instance().isLoaded());
    QCOMPARE(main.mdiArea->activeSubWindow(), frmCustomsList::instance().subWindow());
    main.mnuFunction_Opening();
    QVERIFY(!main.mnuRecode->isEnabled() && !main.mnuCustom->isEnabled());
    QVERIFY(main.mnuPlay->isEnabled() && main.mnuTransfer->isEnabled());

    // Reopened while recording work is chosen: F1 does nothing, F2 plays.
    main.mnuMainMenu->trigger();
    QVERIFY(menu.isLoaded());
    QVERIFY(!menu.cmdRecode->isEnabled() && !menu.cmdCustom->isEnabled());
    QTest::keyClick(&menu, Qt::Key_F1);
    QCOMPARE(program().workMode, int32_t(kWorkRecording));
    QVERIFY(menu.isLoaded());
    QTest::keyClick(&menu, Qt::Key_F2);
    QCOMPARE(program().dataFunction, int32_t(kDataPlay));
    QVERIFY(program().customsDataOpen);
    main.mnuFunction_Opening();
    QVERIFY(!main.mnuPlay->isEnabled() && !main.mnuTransfer->isEnabled());

    // The windows of work give the choice back: the data function when the
    // window closes, the work by the customer list's Cancel (its close box),
    // which brings the main menu back with its buttons enabled again.
    frmCustomsData::instance().unload();
    QCOMPARE(program().dataFunction, int32_t(kDataFree));
    QVERIFY(!program().customsDataOpen);
    frmCustomsList::instance().subWindow()->close();
    QVERIFY(!frmCustomsList::instance().isLoaded());
    QCOMPARE(program().workMode, int32_t(kWorkFree));
    QVERIFY(menu.isLoaded());
    QVERIFY(menu.cmdRecode->isEnabled() && menu.cmdCustom->isEnabled());

    QTest::keyClick(&menu, Qt::Key_F3);
    QCOMPARE(program().dataFunction, int32_t(kDataTransfer));
    QVERIFY(frmDataTransfer::instance().isLoaded());
    main.mnuMainMenu->trigger();
    QTest::keyClick(&menu, Qt::Key_F5);
    QVERIFY(frmSs::instance().isLoaded());
    QVERIFY(main.mnuMainMenu->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_F12));
  }

  // The main menu's keys belong to the main window: they work with the focus
  // in any window of it, except one with keys of its own, and not while a
  // modal window is up.
  void mainMenuKeysWorkWithTheFocusElsewhere_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("plays");
    QTest::newRow("status panel") << "panel" << true;
    QTest::newRow("window without keys") << "keyless" << true;
    // The station editor's keys are F1, F5, F6 and Esc: it keeps F2 too.
    QTest::newRow("window with keys of its own") << "station" << false;
    QTest::newRow("modal window up") << "modal" << false;
  }
  void mainMenuKeysWorkWithTheFocusElsewhere() {
    QFETCH(QString, focus);
    QFETCH(bool, plays);
    ChildForm* window = &frmDspParam::instance();
    if (focus == "keyless") window = &EmptyWindow<1>::instance();
    if (focus == "station") window = &frmSs::instance();
    window->showForm();
    window->setFocus();
    if (focus == "modal") {
      answerNextModal([window](QWidget* modal) {
        QTest::keyClick(window, Qt::Key_F2);
        modal->close();
      });
      showMessage(QStringLiteral("12-2"), QString(), QString(), QString());
    } else {
      QTest::keyClick(window, Qt::Key_F2);
    }
    QCOMPARE(program().dataFunction == kDataPlay, plays);
  }

  void hiddenKeySequenceOpensTheDebugWindow() {
    frmMain& menu = frmMain::instance();
    frmDebugMessage& debug = frmDebugMessage::instance();
    QVERIFY(!debug.isLoaded());
    // Other keys and letters out of their place leave the count alone.
    QTest::keyClicks(&menu, QStringLiteral("veL"));
    QTest::keyClick(&menu, Qt::Key_Shift);
    QTest::keyClicks(&menu, QStringLiteral("xvm"));
    QCOMPARE(menu.keySequenceState, 4);
    QTest::keyClicks(&menu, QStringLiteral("o"));
    QVERIFY(!debug.isLoaded());
    QTest::keyClicks(&menu, QStringLiteral("r"));
    QVERIFY(debug.isLoaded());
    QCOMPARE(menu.keySequenceState, 0);
    debug.unload();
  }

  void displayOptionHandlersTickAndKeep() {
    frmMdi& main = frmMdi::instance();
    main.mnuSubLine[1]->trigger();
    QCOMPARE(ticks(main.mnuSubLine), QList<bool>({false, true, false}));
    QCOMPARE(program().displayOptions[kSubLine], int16_t(10));
    main.setDisplayOption(kSubLine, 15);
    QCOMPARE(ticks(main.mnuSubLine), QList<bool>({true, false, false}));
    QCOMPARE(program().displayOptions[kSubLine], int16_t(0));
    main.mnuFontSize[0]->trigger();
    main.mnuFontSize[0]->trigger();  // choosing the ticked item keeps it ticked
    QCOMPARE(ticks(main.mnuFontSize), QList<bool>({true, false}));
    QCOMPARE(program().displayOptions[kFontSize], int16_t(8));
    main.mnuCursor[1]->trigger();
    main.mnuFontColor[1]->trigger();
    main.mnuOsVersion[0]->trigger();
    QCOMPARE(program().displayOptions[kCursor], int16_t(1));
    QCOMPARE(program().displayOptions[kFontColor], int16_t(1));
    QCOMPARE(program().displayOptions[kOsVersion], int16_t(0));
    QVERIFY(fake().calls.isEmpty());  // only the unit goes to the library
    main.mnuTempUnit[1]->trigger();
    main.setDisplayOption(kTempUnit, 3);
    QCOMPARE(fake().calls, QStringList({QStringLiteral("setTmpUnit(1)"), QStringLiteral("setTmpUnit(0)")}));
    QCOMPARE(ticks(main.mnuTempUnit), QList<bool>({true, false}));
  }

  // The option groups are one-of-several choices: each is one exclusive
  // group, so the menus show them as such and never tick two at once.
  void optionGroupsAreExclusiveChoices() {
    frmMdi& main = frmMdi::instance();
    const auto items = [](const auto& array) { return QList<QAction*>(array.begin(), array.end()); };
    const QList<std::pair<const char*, QList<QAction*>>> groups{
        {"COM port", items(main.mnuComNo)},
        {"central operation", {main.mnuPermission, main.mnuProhibition}},
        {"font size", items(main.mnuFontSize)},
        {"sub lines", items(main.mnuSubLine)},
        {"cursor", items(main.mnuCursor)},
        {"OS setting", items(main.mnuOsVersion)},
        {"unit", items(main.mnuTempUnit)},
        {"font colour", items(main.mnuFontColor)},
        {"adapter type", items(main.mnuAdapterType)},
    };
    for (const auto& [name, actions] : groups) {
      QActionGroup* group = actions.first()->actionGroup();
      QVERIFY2(group && group->isExclusive(), name);
      QCOMPARE(group->actions(), actions);
      QCOMPARE(std::count_if(actions.begin(), actions.end(), [](QAction* a) { return a->isChecked(); }), 1);
    }
  }

  void comPortTicksOneAndShowsIt() {
    frmMdi& main = frmMdi::instance();
    main.mnuComNo[7]->trigger();
    main.mnuComNo[2]->trigger();
    QCOMPARE(ticks(main.mnuComNo), QList<bool>({false, false, true, false, false, false, false, false}));
    QCOMPARE(program().comPortNo, 3);
    QCOMPARE(panelLine(1), QStringLiteral("Com : COM3"));
  }

  void centralOperationIsKeptWhileTheMapGathers() {
    frmMdi& main = frmMdi::instance();
    QStringList message;
    program().mapRecodeModeOpen = true;
    readNextMessage(message);
    main.mnuProhibition->trigger();
    QCOMPARE(message, QStringList({QStringLiteral("Error No.:12-2"), tableText(454), tableText(455), QString()}));
    QVERIFY(program().centralOperation);
    QCOMPARE(ticks(std::array{main.mnuPermission, main.mnuProhibition}), QList<bool>({true, false}));
    QCOMPARE(panelLine(2), QStringLiteral("Cen.Ope. : ON"));
    main.mnuPermission->trigger();  // no change: no refusal
    QVERIFY(program().centralOperation);

    program().mapRecodeModeOpen = false;
    readNextMessage(message);
    main.mnuProhibition->trigger();
    QCOMPARE(message, QStringList({tableText(456), tableText(457), tableText(458), tableText(459)}));
    QVERIFY(!program().centralOperation);
    QCOMPARE(ticks(std::array{main.mnuPermission, main.mnuProhibition}), QList<bool>({false, true}));
    QCOMPARE(panelLine(2), QStringLiteral("Cen.Ope. : OFF"));

    program().mapRecodeModeOpen = true;
    readNextMessage(message);
    main.mnuPermission->trigger();
    QCOMPARE(message[0], QStringLiteral("Error No.:12-2"));
    QVERIFY(!program().centralOperation);
    QCOMPARE(ticks(std::array{main.mnuPermission, main.mnuProhibition}), QList<bool>({false, true}));

    program().mapRecodeModeOpen = false;
    main.mnuPermission->trigger();
    QVERIFY(program().centralOperation);
    QCOMPARE(panelLine(2), QStringLiteral("Cen.Ope. : ON"));
    QVERIFY(fake().calls.isEmpty());  // the map passes it on when it gathers
  }

  void adapterTypeIsAskedAndStoredForTheNextStart() {
    frmMdi& main = frmMdi::instance();
    int32_t stored = 0;  // pelomar3.ini as the library keeps it
    fake().on<decltype(::WriteINIfile)>("WriteINIfile", [&stored](const char*, int32_t value) {
      stored = value;
      return 1;
    });
    fake().on<decltype(::ReadINIfile)>("ReadINIfile", [&stored](const char*) { return stored; });
    {
      QuestionAnswer answer(QMessageBox::Yes);
      main.mnuAdapterType[0]->trigger();  // already in use
      QTest::qWait(50);
      QVERIFY(!answer.asked);
      QCOMPARE(ticks(main.mnuAdapterType), QList<bool>({true, false}));
    }
    {
      QuestionAnswer answer(QMessageBox::No);
      main.mnuAdapterType[1]->trigger();
      QVERIFY(answer.asked);
      QCOMPARE(answer.text, tableText(374) + QStringLiteral("\n\n") + tableText(375) + QStringLiteral("\n\n"));
      QCOMPARE(ticks(main.mnuAdapterType), QList<bool>({true, false}));
      QCOMPARE(program().adapterOptions[0], int16_t(0));
      QVERIFY(fake().calls.isEmpty());
    }
    {
      QuestionAnswer answer(QMessageBox::Yes);
      main.mnuAdapterType[1]->trigger();
      QVERIFY(answer.asked);
    }
    QCOMPARE(ticks(main.mnuAdapterType), QList<bool>({false, true}));
    QCOMPARE(program().adapterOptions[0], int16_t(1));
    QCOMPARE(fake().calls, QStringList({QStringLiteral("WriteINIfile(\"ADPTYP\", 1)"),
                                        QStringLiteral("ReadINIfile(\"ADPTYP\")")}));
    QCOMPARE(panelLine(0), QStringLiteral("ADP : pelomar vexa5 *"));
  }

  // WriteINIfile answers every write alike; a type that did not reach
  // pelomar3.ini (a program folder that cannot be written) is said at once.
  void adapterTypeThatCannotBeStoredIsSaid() {
    frmMdi& main = frmMdi::instance();
    QStringList message;
    answerNextModal([&message](QWidget* modal) {
      readNextMessage(message);  // the box that follows the answer
      qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
    });
    main.mnuAdapterType[1]->trigger();
    QTRY_VERIFY(!message.isEmpty());
    QCOMPARE(message, QStringList({ownText(kTextFolderNotSaved), world->folder.path(), QString(), QString()}));
  }

  void fontDialogAppliesTheChosenFont() {
    frmMdi& main = frmMdi::instance();
    const QFont before = appFont();
    answerNextModal([](QWidget* modal) { qobject_cast<QFontDialog*>(modal)->reject(); });
    main.mnuFontSetting->trigger();
    QCOMPARE(appFont(), before);

    QFont wanted(QFontDatabase::families().constLast(), 14);
    wanted.setBold(true);
    wanted.setItalic(true);
    wanted.setUnderline(true);
    wanted.setStrikeOut(true);
    QFont chosen;
    answerNextModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFontDialog*>(modal);
      dialog->setCurrentFont(wanted);
      chosen = dialog->currentFont();
      dialog->accept();
    });
    main.mnuFontSetting->trigger();
    QFont& font = appFont();
    QCOMPARE(font.family(), chosen.family());
    QCOMPARE(font.pointSize(), 14);
    QVERIFY(font.underline() && font.strikeOut());
    QCOMPARE(font.bold(), chosen.bold());
    QCOMPARE(font.italic(), chosen.italic());
    font = before;
  }

  void windowMenuArrangesTheChildWindows() {
    frmMdi& main = frmMdi::instance();
    frmMain::instance().unload();
    frmDspParam::instance().unload();
    EmptyWindow<1>::instance().showForm();
    EmptyWindow<2>::instance().showForm();
    EmptyWindow<3>::instance().showForm();
    const QList<QMdiSubWindow*> windows{EmptyWindow<1>::instance().subWindow(), EmptyWindow<2>::instance().subWindow(),
                                        EmptyWindow<3>::instance().subWindow()};
    const QRect inner = main.mdiArea->viewport()->rect();

    main.mnuArrange[1]->trigger();  // tile vertically: one above another
    int top = 0;
    for (QMdiSubWindow* window : windows) {
      QCOMPARE(window->geometry().left(), 0);
      QCOMPARE(window->width(), inner.width());
      QCOMPARE(window->geometry().top(), top);
      top += window->height();
    }
    QCOMPARE(top, inner.height());

    main.mnuArrange[0]->trigger();  // tile horizontally: side by side
    int left = 0;
    for (QMdiSubWindow* window : windows) {
      QCOMPARE(window->geometry().top(), 0);
      QCOMPARE(window->height(), inner.height());
      QCOMPARE(window->geometry().left(), left);
      left += window->width();
    }
    QCOMPARE(left, inner.width());

    main.mnuArrange[2]->trigger();  // cascade
    QVERIFY(windows[1]->geometry().top() > windows[0]->geometry().top());

    windows[0]->showMinimized();
    windows[2]->showMinimized();
    windows[0]->move(100, 50);
    main.mnuArrange[3]->trigger();  // arrange icons along the bottom
    QCOMPARE(windows[0]->geometry().bottomLeft(), QPoint(0, inner.height() - 1));
    QCOMPARE(windows[2]->geometry().left(), windows[0]->width());
    QCOMPARE(windows[2]->geometry().bottom(), inner.height() - 1);
    for (QMdiSubWindow* window : windows) window->showNormal();
  }

  // Both tilings use the room beside the status panel: at the main window's
  // default size the main menu alone lies there whole, nothing scrolled.
  void tilingsPlaceTheWindowsBesideTheStatusPanel_data() {
    QTest::addColumn<int>("item");  // of the Window menu
    QTest::newRow("tile horizontally") << 0;
    QTest::newRow("tile vertically") << 1;
  }
  void tilingsPlaceTheWindowsBesideTheStatusPanel() {
    QFETCH(int, item);
    frmMdi& main = frmMdi::instance();
    frmMain& menu = frmMain::instance();
    menu.showForm();
    const QRect panelPlace = frmDspParam::instance().subWindow()->geometry();
    main.mnuArrange[item]->trigger();
    const QRect place = menu.subWindow()->geometry();
    QCOMPARE(place.topLeft(), QPoint(panelPlace.right() + 1, 0));
    QVERIFY2(main.mdiArea->viewport()->rect().contains(place), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(
        place.x()).arg(place.y()).arg(place.width()).arg(place.height())));
    saveScreenshot(main, QStringLiteral("frmMdi_tiled_%1").arg(item));
  }

  // The main menu's buttons have a fixed layout: no arrangement may squeeze
  // the window below them or fold it to its title bar, and none moves the
  // status panel.
  void arrangementsKeepTheMainMenuWhole_data() {
    QTest::addColumn<int>("item");  // of the Window menu
    QTest::newRow("tile horizontally") << 0;
    QTest::newRow("tile vertically") << 1;
    QTest::newRow("cascade after tiling") << 2;
    QTest::newRow("arrange icons") << 3;
  }
  void arrangementsKeepTheMainMenuWhole() {
    QFETCH(int, item);
    frmMdi& main = frmMdi::instance();
    frmMain& menu = frmMain::instance();
    frmCustomsList::instance().showForm();
    frmDataTransfer::instance().showForm();
    frmSs::instance().showForm();
    menu.showForm();
    QMdiSubWindow* panel = frmDspParam::instance().subWindow();
    const QRect panelPlace = panel->geometry();
    const QSize menuSize = menu.subWindow()->size();
    const QSize listSize = frmCustomsList::instance().subWindow()->size();

    if (item == 2) main.mnuArrange[1]->trigger();
    main.mnuArrange[item]->trigger();
    for (QPushButton* button : {menu.cmdRecode, menu.cmdPlay, menu.cmdTransfer, menu.cmdCustom, menu.cmdSs,
                                menu.cmdEnd}) {
      QVERIFY2(menu.rect().contains(button->geometry()), qPrintable(button->text()));
    }
    QVERIFY(menu.isVisible() && !menu.subWindow()->isMinimized());
    QCOMPARE(panel->geometry(), panelPlace);
    const QList<QMdiSubWindow*> stack = main.mdiArea->subWindowList(QMdiArea::StackingOrder);
    QVERIFY(!menu.subWindow()->geometry().intersects(panelPlace) ||
            stack.indexOf(panel) > stack.indexOf(menu.subWindow()));
    if (item < 3) {  // tiling and cascade start beside the panel
      for (QMdiSubWindow* window : stack) {
        QVERIFY(window == panel || !window->isVisible() || !window->geometry().intersects(panelPlace));
      }
    }
    saveScreenshot(main, QStringLiteral("frmMdi_arranged_%1").arg(item));
    if (item != 2) return;
    // Cascade gives every window back its own size and steps the origins.
    QCOMPARE(menu.subWindow()->size(), menuSize);
    QCOMPARE(frmCustomsList::instance().subWindow()->size(), listSize);
    QPoint previous(-1, -1);
    for (QMdiSubWindow* window : main.mdiArea->subWindowList(QMdiArea::StackingOrder)) {
      if (window == panel || !window->isVisible()) continue;
      QVERIFY(window->pos().x() > previous.x() && window->pos().y() > previous.y());
      previous = window->pos();
    }
  }

  void editMenuWorksOnTheFocusedTextBox() {
    frmMdi& main = frmMdi::instance();
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* box = new QLineEdit(QStringLiteral("hello world"), &form);
    auto* button = new QPushButton(QStringLiteral("OK"), &form);
    layout->addWidget(box);
    layout->addWidget(button);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QApplication::clipboard()->clear();

    button->setFocus();
    main.mnuEdit_Opening();
    QVERIFY(!main.mnuCut->isEnabled() && !main.mnuCopy->isEnabled() && !main.mnuPaste->isEnabled());

    box->setFocus();
    box->setSelection(6, 5);
    main.mnuEdit_Opening();
    QVERIFY(main.mnuCut->isEnabled() && main.mnuCopy->isEnabled());
    QVERIFY(!main.mnuPaste->isEnabled());  // nothing to paste
    main.mnuCut_Click();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("world"));
    QCOMPARE(box->text(), QStringLiteral("hello "));
    main.mnuEdit_Opening();
    QVERIFY(main.mnuPaste->isEnabled());
    box->setSelection(0, 5);
    main.mnuPaste_Click();
    QCOMPARE(box->text(), QStringLiteral("world "));
    box->setSelection(0, 3);
    main.mnuCopy_Click();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("wor"));
    QCOMPARE(box->text(), QStringLiteral("world "));
  }

  void helpWithoutPagesSaysSoAndVersionWindowShows() {
    QCOMPARE(helpPagePath(kHelpDisplayTopic, 0), world->folder.file(QStringLiteral("help/index.html")));
    QCOMPARE(helpPagePath(kHelpContext, 1002), world->folder.file(QStringLiteral("help/1002.html")));
    {
      QuestionAnswer notice(QMessageBox::Ok);
      frmMdi::instance().mnuHelpItem[2]->trigger();
      QVERIFY(notice.asked);
      QCOMPARE(notice.text, QStringLiteral("Help is not installed."));
    }
    // The page is there but the desktop has no viewer for it (as on the
    // offscreen platform): the box names the page to open by hand.
    world->folder.write(QStringLiteral("help/1002.html"), "<html></html>");
    {
      QuestionAnswer notice(QMessageBox::Ok);
      frmMdi::instance().mnuHelpItem[2]->trigger();
      QVERIFY(notice.asked);
      QVERIFY2(notice.text.contains(world->folder.file(QStringLiteral("help/1002.html"))), qPrintable(notice.text));
    }
    frmMdi::instance().mnuVersion->trigger();
    FrmMes& version = FrmMes::instance();
    QVERIFY(version.isVisible());
    QVERIFY(version.Label2->text().contains(QStringLiteral("Version   :  3.12")));
    version.unload();
  }

  void captionsFromTheTextTable() {
    frmMdi& main = frmMdi::instance();
    labelTexts()[0] = QStringLiteral("JA");
    labelTexts()[56] = QStringLiteral("並べて表示");
    labelTexts()[61] = QStringLiteral("版");
    textTableTag() = labelTexts()[0];
    copyTextsToLabelGlobals();
    main.showCaption();
    QCOMPARE(main.mnuArrange[0]->text(), QStringLiteral("並べて表示"));
    QCOMPARE(main.mnuVersion->text(), QStringLiteral("版"));
    QCOMPARE(main.mnuPaste->text(), QStringLiteral("Paste (&P)"));
    frmMain& menu = frmMain::instance();
    menu.unload();
    menu.showForm();
    QCOMPARE(menu.windowTitle(), tableText(63));
    QCOMPARE(menu.cmdEnd->text(), tableText(69));
    QCOMPARE(menu.lblVersion->text(), QStringLiteral("Ver.3.12"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

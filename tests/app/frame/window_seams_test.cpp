// The seams every window is built on: the main-menu command table and its
// enabling, work windows and the main menu, the close-box roads, the list of
// windows, the key table, the grid and the Yes/No dialog frame.
#include "frame/dialogs/yes_no_dialog.h"
#include "frame/frmMain.h"
#include "frame/frmMdi.h"
#include "frame/grid.h"
#include "frame/key_table.h"
#include "frame/program_values.h"
#include "frame/single_form.h"
#include "frame/work_form.h"
#include "records/frmCustomsData.h"
#include "records/frmCustomsList.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMdiArea>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

namespace {

// A child window with a Cancel road that counts.
class CountingForm : public ChildForm {
 public:
  explicit CountingForm(CloseBox closeBox) { setCloseBox(closeBox); }
  void cancel() override {
    ++cancels;
    unload();
  }
  int cancels = 0;
};

class Question : public SingleForm<Question, YesNoDialog> {
 protected:
  Question() : SingleForm({{"first", 0}, {"second", 0}, {"third", 0}, {"fourth", 0}, {"fifth", 0}}) {}
};

QList<bool> enabledItems() {
  frmMdi& main = frmMdi::instance();
  main.mnuFunction_Opening();
  QList<bool> enabled;
  for (const MainMenuCommand& command : mainMenuCommands()) enabled << main.functionItem(command.id)->isEnabled();
  return enabled;
}

QList<bool> enabledButtons() {
  frmMain& menu = frmMain::instance();
  menu.enableButtons();
  QList<bool> enabled;
  for (const MainMenuCommand& command : mainMenuCommands()) {
    if (QPushButton* button = menu.button(command.id)) enabled << button->isEnabled();
  }
  return enabled;
}

}  // namespace

class WindowSeamsTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void init() {
    ProgramTest::init();
    QVERIFY(activateMainWindow());
  }

  void menuItemsButtonsAndKeysFollowOneEnablingTable_data() {
    QTest::addColumn<int>("workMode");
    QTest::addColumn<int>("dataFunction");
    // Record, Play, Data transfer, Customer data, SS data, main menu, END.
    QTest::addColumn<QList<bool>>("items");
    QTest::newRow("nothing chosen") << 2 << 2 << QList<bool>{true, true, true, true, true, true, true};
    QTest::newRow("recording work") << 0 << 2 << QList<bool>{false, true, true, false, true, true, true};
    QTest::newRow("customer records and play") << 1 << 0 << QList<bool>{false, false, false, false, true, true, true};
    QTest::newRow("data transfer") << 2 << 1 << QList<bool>{true, false, false, true, true, true, true};
  }
  void menuItemsButtonsAndKeysFollowOneEnablingTable() {
    QFETCH(int, workMode);
    QFETCH(int, dataFunction);
    QFETCH(QList<bool>, items);
    program().workMode = workMode;
    program().dataFunction = dataFunction;
    QCOMPARE(enabledItems(), items);
    QList<bool> buttons = items;
    buttons.removeAt(kCommandMainMenu);  // a menu item without a button
    QCOMPARE(enabledButtons(), buttons);

    // A key presses its button only while the button is enabled.
    frmMain& menu = frmMain::instance();
    QTest::keyClick(&menu, Qt::Key_F4);
    QCOMPARE(program().workMode, items[kCommandCustom] ? int32_t(kWorkCustomerRecords) : workMode);
    QCOMPARE(menu.isLoaded(), !items[kCommandCustom]);
  }

  void cancelBringsTheMainMenuBackWithItsButtonsFollowingTheWork() {
    frmMdi& main = frmMdi::instance();
    main.mnuRecode->trigger();
    frmMain& menu = frmMain::instance();
    QVERIFY(!menu.isLoaded());
    main.mnuMainMenu->trigger();  // reopened while recording work is chosen
    QVERIFY(!menu.cmdRecode->isEnabled());
    frmCustomsList::instance().cancel();
    QCOMPARE(program().workMode, int32_t(kWorkFree));
    QVERIFY(menu.isLoaded());
    QVERIFY(menu.cmdRecode->isEnabled());
  }

  void windowTakingTheCustomerListsPlaceKeepsTheWork() {
    frmMdi::instance().mnuRecode->trigger();
    // The access-method window of "Record only" closes the list by unloading it.
    frmCustomsList::instance().unload();
    QCOMPARE(program().workMode, int32_t(kWorkRecording));
    QVERIFY(!frmMain::instance().isLoaded());

    // The customer data window frees the data function however it closes;
    // only its Cancel brings the main menu back.
    frmMdi::instance().mnuPlay->trigger();
    frmCustomsData::instance().unload();
    QCOMPARE(program().dataFunction, int32_t(kDataFree));
    QVERIFY(!frmMain::instance().isLoaded());
  }

  void closeBoxRoads_data() {
    QTest::addColumn<int>("closeBox");
    QTest::addColumn<int>("cancels");
    QTest::addColumn<bool>("hasCloseButton");
    QTest::newRow("close box unloads") << int(CloseBox::Unloads) << 0 << true;
    QTest::newRow("close box runs Cancel") << int(CloseBox::RunsCancel) << 1 << true;
    QTest::newRow("no close box, a close still runs Cancel") << int(CloseBox::None) << 1 << false;
  }
  void closeBoxRoads() {
    QFETCH(int, closeBox);
    QFETCH(int, cancels);
    QFETCH(bool, hasCloseButton);
    auto* form = new CountingForm(CloseBox(closeBox));
    form->showForm();
    QMdiSubWindow* holder = form->subWindow();
    QCOMPARE(holder->windowFlags().testFlag(Qt::WindowCloseButtonHint) ||
                 !holder->windowFlags().testFlag(Qt::CustomizeWindowHint),
             hasCloseButton);
    holder->close();
    QVERIFY(!form->isLoaded());
    QVERIFY(!holder->isVisible());
    QCOMPARE(form->cancels, cancels);
    form->deleteWithSubWindow();
  }

  // Ctrl+F4 closes the active child window by its own close road; it is no
  // F4, and it shows no window that has been unloaded.
  void closingTheActiveWindowByKeyTakesItsOwnRoad() {
    frmMdi::instance().mnuRecode->trigger();
    frmCustomsList& list = frmCustomsList::instance();
    QTest::keyClick(&list, Qt::Key_F4, Qt::ControlModifier);  // its close box runs its Cancel
    QCOMPARE(program().workMode, int32_t(kWorkFree));
    frmMain& menu = frmMain::instance();
    QVERIFY(menu.isLoaded() && !list.isLoaded());
    QTest::keyClick(&menu, Qt::Key_F4, Qt::ControlModifier);  // its close box unloads it
    QVERIFY(!menu.isLoaded());
    QVERIFY(!list.isLoaded() && !list.subWindow()->isVisible());
    QCOMPARE(program().workMode, int32_t(kWorkFree));
  }

  // As in any MDI program, closing the active child window activates the
  // one that was active before it, so that its keys work again.
  void closedActiveWindowHandsTheActivationBack() {
    auto* below = new CountingForm(CloseBox::Unloads);
    auto* above = new CountingForm(CloseBox::Unloads);
    auto* hidden = new CountingForm(CloseBox::Unloads);
    hidden->showForm();
    below->showForm();
    hidden->unload();
    above->showForm();
    QMdiArea& area = *frmMdi::instance().mdiArea;
    above->unload();
    QCOMPARE(area.activeSubWindow(), below->subWindow());
    // An inactive window that closes leaves the active one alone.
    above->showForm();
    area.setActiveSubWindow(below->subWindow());
    above->unload();
    QCOMPARE(area.activeSubWindow(), below->subWindow());
    for (CountingForm* form : {below, above, hidden}) form->deleteWithSubWindow();
  }

  void windowsPutAwayAreMadeAfresh() {
    frmMain& before = frmMain::instance();
    before.keySequenceState = 3;
    QVERIFY(std::ranges::find(madeForms(), static_cast<Form*>(&before)) != madeForms().end());
    QVERIFY(before.isLoaded());
    putWindowsAway();
    QVERIFY(std::ranges::none_of(madeForms(), [](const Form* form) { return form->isLoaded(); }));
    frmMain& after = frmMain::instance();
    QCOMPARE(after.keySequenceState, 0);
    QVERIFY(!after.isLoaded());
    QCOMPARE(after.button(kCommandEnd)->text(), QStringLiteral("END (F12)"));
  }

  void keyTablePressesOnlyEnabledButtons_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("clicks");
    const int none = Qt::NoModifier;
    QTest::newRow("key of an enabled button") << int(Qt::Key_F1) << none << true << true << 1;
    QTest::newRow("key of a disabled button") << int(Qt::Key_F1) << none << false << true << 0;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << none << true << true << 1;
    QTest::newRow("a key not in the table") << int(Qt::Key_F2) << none << true << false << 0;
    QTest::newRow("Ctrl+F1 is no F1") << int(Qt::Key_F1) << int(Qt::ControlModifier) << true << false << 0;
  }
  void keyTablePressesOnlyEnabledButtons() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, enabled);
    QFETCH(bool, taken);
    QFETCH(int, clicks);
    QPushButton button;
    button.setEnabled(enabled);
    QSignalSpy clicked(&button, &QPushButton::clicked);
    KeyTable keys;
    keys.add(Qt::Key_F1, &button);
    keys.add(Qt::Key_Escape, &button);
    QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
    event.ignore();
    QCOMPARE(keys.handle(&event), taken);
    QCOMPARE(event.isAccepted(), taken);
    QCOMPARE(clicked.count(), clicks);
  }

  void gridSetsCellsQuietlyAndRefusesCellsOutside() {
    QTableWidget table;
    Grid grid(table);
    grid.setColumnWidthsTwips({1500, 3000});
    grid.selectWholeRows();
    table.setRowCount(2);
    QCOMPARE(table.columnCount(), 2);
    QCOMPARE(table.columnWidth(1), 200);
    QCOMPARE(table.selectionBehavior(), QAbstractItemView::SelectRows);
    QSignalSpy changed(&table, &QTableWidget::itemChanged);
    QVERIFY(grid.setText(1, 1, QStringLiteral("OU-01")));
    QVERIFY(grid.setText(1, 1, QStringLiteral("OU-02")));
    QCOMPARE(grid.text(1, 1), QStringLiteral("OU-02"));
    QCOMPARE(changed.count(), 0);
    for (const auto& [row, column] : {std::pair{2, 0}, {0, 2}, {-1, 0}, {0, -1}}) {
      QVERIFY(!grid.setText(row, column, QStringLiteral("x")));
      QCOMPARE(grid.text(row, column), QString());
    }
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(grid.text(0, 0), QString());  // an empty cell
  }

  void yesNoDialogAnswers_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("close");
    QTest::addColumn<int>("yeses");
    QTest::newRow("F1 is Yes") << int(Qt::Key_F1) << false << 1;
    QTest::newRow("Esc is No") << int(Qt::Key_Escape) << false << 0;
    QTest::newRow("the window system's close is No") << 0 << true << 0;
  }
  void yesNoDialogAnswers() {
    QFETCH(int, key);
    QFETCH(bool, close);
    QFETCH(int, yeses);
    Question& question = Question::instance();
    QCOMPARE(question.lbl.size(), std::size_t(4));  // four lines at most
    QVERIFY(!question.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    int yes = 0;
    bool loadedAtYes = false;
    int depthInside = 0;
    answerNextModal([&](QWidget* modal) {
      depthInside = program().dialogOpen.depth();
      if (close) {
        modal->close();
      } else {
        QTest::keyClick(modal, Qt::Key(key));
      }
    });
    question.askModal([&] {
      ++yes;
      loadedAtYes = question.isLoaded();
    });
    QCOMPARE(yes, yeses);
    QVERIFY(!loadedAtYes);  // Yes runs after the dialog has gone
    QCOMPARE(depthInside, 1);
    QVERIFY(!program().dialogOpen);
    QVERIFY(!question.isLoaded());
  }
};

QTEST_MAIN(WindowSeamsTest)
#include "window_seams_test.moc"

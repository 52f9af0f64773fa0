// The debug-message window against the fake library, the version window,
// the splash window and the status panel.
#include "frame/FrmMes.h"
#include "frame/frmDebugMessage.h"
#include "frame/frmDspParam.h"
#include "frame/frmMdi.h"
#include "frame/frmSplash.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "support/fake_tramsoll.h"
#include "support/test_support.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <deque>

namespace {

// Scripts getDebugMessage to hand out the lines, then answer 0.
void queueDebugLines(FakeTramsoll& fake, std::deque<QByteArray>& lines) {
  fake.on<decltype(::getDebugMessage)>("getDebugMessage", [&lines](char* message, int32_t* length) {
    std::memset(message, 0, 80);
    if (lines.empty()) {
      *length = 0;
      return 0;
    }
    const QByteArray line = lines.front().left(79);
    lines.pop_front();
    std::memcpy(message, line.constData(), static_cast<std::size_t>(line.size()));
    *length = static_cast<int32_t>(line.size());
    return 1;
  });
}

}  // namespace

class SmallWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    setEnglishTexts();
    copyTextsToLabelGlobals();
    frmMdi& main = frmMdi::instance();
    main.setGeometry(40, 30, 900, 600);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
  }

  void debugWindowKeepsTheNewest51AndWritesAll() {
    ScratchFolder folder;
    InstalledFake library;
    std::deque<QByteArray> lines;
    for (int i = 1; i <= 60; ++i) lines.push_back("FileHndl: line " + QByteArray::number(i));
    lines.push_back("Tramsoll: \"quoted\" \xE6\xB8\xA9\xE5\xBA\xA6");
    queueDebugLines(library.fake, lines);

    frmDebugMessage& window = frmDebugMessage::instance();
    window.showForm();
    QVERIFY(window.tmrDebugMessage->isActive());
    QCOMPARE(window.tmrDebugMessage->interval(), 500);
    // 6000 x 5000 twips, centred in the inner area (below the menu bar,
    // above the status line).
    const QSize inner = frmMdi::instance().innerSize();
    QCOMPARE(window.subWindow()->geometry(), twipsRect((pixelsToTwips(inner.width()) - 6000) / 2,
                                                       (pixelsToTwips(inner.height()) - 5000) / 2, 6000, 5000));
    window.tmrDebugMessage_Timer();

    QCOMPARE(library.fake.callsOf(QStringLiteral("getDebugMessage")).size(), 62);
    QCOMPARE(window.lstDebugMessage->count(), 51);
    QCOMPARE(window.lstDebugMessage->item(0)->text(), QStringLiteral("FileHndl: line 11"));
    QCOMPARE(window.lstDebugMessage->item(50)->text(), QStringLiteral("Tramsoll: \"quoted\" 温度"));
    QCOMPARE(window.lstDebugMessage->currentRow(), 50);
    saveScreenshot(*window.subWindow(), QStringLiteral("frmDebugMessage"));

    window.unload();
    QVERIFY(!window.tmrDebugMessage->isActive());
    const QByteArray file = folder.read(QStringLiteral("DebugMessage.txt"));
    QCOMPARE(file.count("\r\n"), 61);
    QVERIFY(file.startsWith("\"FileHndl: line 1\"\r\n\"FileHndl: line 2\"\r\n"));
    QVERIFY(file.endsWith("\"Tramsoll: 'quoted' \xE6\xB8\xA9\xE5\xBA\xA6\"\r\n"));

    // Loading again starts a new file and list; an empty ring takes one call.
    library.fake.calls.clear();
    window.showForm();
    window.tmrDebugMessage_Timer();
    QCOMPARE(library.fake.calls.size(), 1);
    QCOMPARE(folder.read(QStringLiteral("DebugMessage.txt")), QByteArray());
    QCOMPARE(window.lstDebugMessage->count(), 0);
    window.unload();
  }

  void debugWindowWorksWithoutItsFile() {
    ScratchFolder folder;
    QDir(folder.path()).mkdir(QStringLiteral("DebugMessage.txt"));  // cannot be created as a file
    InstalledFake library;
    std::deque<QByteArray> lines{"ErrHndl: Debug Message Buffer Overflow"};
    queueDebugLines(library.fake, lines);
    frmDebugMessage& window = frmDebugMessage::instance();
    window.showForm();
    window.tmrDebugMessage_Timer();
    QCOMPARE(window.lstDebugMessage->count(), 1);
    QCOMPARE(window.lstDebugMessage->item(0)->text(), QStringLiteral("ErrHndl: Debug Message Buffer Overflow"));
    window.unload();
  }

  void debugWindowStopsWhenTheLibraryKeepsAnswering() {
    ScratchFolder folder;
    InstalledFake library;
    library.fake.results["getDebugMessage"] = -1;
    frmDebugMessage& window = frmDebugMessage::instance();
    window.showForm();
    window.tmrDebugMessage_Timer();  // returns instead of hanging
    QCOMPARE(library.fake.calls.size(), 1025);
    window.unload();
  }

  void versionWindowTexts() {
    program().versionTexts = {QStringLiteral("3.05"), QStringLiteral("1.20"), QString(),
                              QStringLiteral("2019/4/1"), QStringLiteral("not a date")};
    textTableTag() = QStringLiteral("EN-GB");
    FrmMes& window = FrmMes::instance();
    window.fillVersionText();
    window.showModeless();
    QCOMPARE(window.windowTitle(), QStringLiteral("Version Information"));
    QCOMPARE(window.Label1[0]->text(), QStringLiteral("Service Pelomar VEXA-5"));
    QCOMPARE(window.Label1[1]->text(), QStringLiteral("    software Version infomation"));
    QCOMPARE(window.Label1[2]->text(), QStringLiteral("EN-GB"));
    QCOMPARE(window.Label2->text(), QStringLiteral("\n      Version   :  3.05\n\n      Release   :  2019/04/01\n\n"
                                                   "   Program Version\n       pelomar3.exe : Ver.1.68 (2020/08/07)\n"
                                                   "       Tramsoll.dll : Ver.1.20 (not a date)"));
    QVERIFY(!window.isModal());
    QCOMPARE(window.parentWidget(), &frmMdi::instance());
    saveScreenshot(window, QStringLiteral("FrmMes"));
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.isLoaded());
    textTableTag().clear();
  }

  void splashWindowCentredOnTheMainWindow() {
    program().versionTexts[0] = QStringLiteral("3.05");
    program().versionTexts[3] = QStringLiteral("2019-04-01");
    frmSplash& splash = frmSplash::instance();
    splash.showModeless();
    const QRect main = frmMdi::instance().frameGeometry();
    const int mainLeft = pixelsToTwips(main.x()), mainTop = pixelsToTwips(main.y());
    QCOMPARE(splash.geometry(), twipsRect(mainLeft + pixelsToTwips(main.width()) / 2 - 3000,
                                          mainTop + pixelsToTwips(main.height()) / 2 - 1500, 6000, 3000));
    QCOMPARE(splash.Label1[0]->text(), QStringLiteral("Service Pelomar VEXA-5"));
    QCOMPARE(splash.Label1[3]->text(), QStringLiteral("3.05"));
    QCOMPARE(splash.Label1[4]->text(), QStringLiteral("2019/04/01"));
    QCOMPARE(splash.Label1[5]->text(), labelTexts()[408]);
    saveScreenshot(splash, QStringLiteral("frmSplash"));
    QTest::keyClick(&splash, Qt::Key_Escape);  // keys do nothing
    QVERIFY(splash.isVisible());
    splash.unload();
  }

  void statusPanel() {
    ProgramValues& values = program();
    values.versionTexts[0] = QStringLiteral("3.05");
    values.comPortNo = 3;
    values.adapterOptions[0] = 1;
    frmDspParam& panel = frmDspParam::instance();
    panel.showForm();
    QCOMPARE(panel.subWindow()->pos(), QPoint(0, 0));
    QCOMPARE(panel.Label1[0]->text(), QStringLiteral("ADP : plus adapter "));
    QCOMPARE(panel.Label1[1]->text(), QStringLiteral("Com : COM3"));
    QCOMPARE(panel.Label1[2]->text(), QStringLiteral("Cen.Ope. : ON"));
    QCOMPARE(panel.Label1[3]->text(), QStringLiteral("Ver. : 3.05"));
    QVERIFY(panel.Label1[0]->isVisible());
    saveScreenshot(frmMdi::instance(), QStringLiteral("frmMdi"));
    panel.unload();

    // A setting file of generation 2 hides every line.
    values.versionTexts[0] = QStringLiteral("2.10");
    values.adapterOptions[0] = 0;
    panel.showForm();
    QCOMPARE(panel.Label1[0]->text(), QStringLiteral("ADP : pelomar vexa5 "));
    for (QLabel* label : panel.Label1) QVERIFY(!label->isVisible());
    panel.unload();
  }

  void closeBoxUnloadsAndKeepsTheWindow() {
    ScratchFolder folder;
    InstalledFake library;
    frmDebugMessage& window = frmDebugMessage::instance();
    window.showForm();
    window.subWindow()->close();
    QVERIFY(!window.isLoaded());
    QVERIFY(!window.subWindow()->isVisible());
    QCOMPARE(&frmDebugMessage::instance(), &window);  // the same window object
    window.showForm();
    QVERIFY(window.isLoaded());
    QVERIFY(window.subWindow()->isVisible());
    window.unload();
  }
};

QTEST_MAIN(SmallWindowsTest)
#include "small_windows_test.moc"

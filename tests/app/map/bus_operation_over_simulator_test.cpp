// Central operation and the control-parameter change over the real library
// and the simulated sample installation: a command reaches an indoor unit
// and the next refresh shows the unit running with its new set point; a
// setting reaches an outdoor unit and its read-back follows five seconds
// later.
#include "frame/icon_cache.h"
#include "frame/library/tramsoll_client.h"
#include "frame/program_start.h"
#include "frame/program_values.h"
#include "map/frmCertify.h"
#include "map/frmControl.h"
#include "map/frmDataChange.h"
#include "map/frmInterface.h"
#include "map/frmMap.h"
#include "simulator.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/simulated_installation.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <optional>
#include <string>

namespace {

constexpr int32_t kIndoorUnit = 19;  // stopped at 22.0 in the scenario

// The time of the first answer of the simulated units whose note is `note`.
std::optional<double> answeredAt(adaptersim::Simulator& simulator, const std::string& note) {
  for (const adaptersim::LogEntry& entry : simulator.log()) {
    if (entry.direction == '>' && entry.note == note) return entry.seconds;
  }
  return std::nullopt;
}

}  // namespace

class BusOperationOverSimulatorTest : public QObject {
  Q_OBJECT

 private slots:
  void commandsAndSettingsReachTheSimulatedUnits() {
    SimulatedInstallation site;
    QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
    QVERIFY(QDir(site.folder.path()).mkpath(QStringLiteral("icons")));
    for (const char* icon : {"KX_Green_Water.ico", "KX_Gray_Water.ico"}) {
      QFile::copy(QStringLiteral(PELOMAR_BIN_DIR "/icons/") + QLatin1String(icon),
                  site.folder.file(QStringLiteral("icons/") + QLatin1String(icon)));
    }
    QVERIFY(startProgram(StartEnvironment{QDate(2024, 5, 1), site.lockFolder()}));
    QCOMPARE(program().controlChangeMode, 2);
    program().workMode = kWorkRecording;
    frmInterface& access = frmInterface::instance();
    access.showForMap(1, 0);
    access.doFix();
    frmMap& map = frmMap::instance();
    QVERIFY(QTest::qWaitFor([&] { return inside(map).mapShowManagerObj.totalPages == 5; }, 20000));

    // ---- Central operation: run, cool and one degree up ----
    QTest::keyClick(&map, Qt::Key_F7);
    frmControl& control = frmControl::instance();
    QVERIFY(control.isLoaded());
    QToolButton* unit = control.cmdAircon[kIndoorUnit];
    QVERIFY(QTest::qWaitFor([&] { return unit->isVisibleTo(&control); }, 60000));
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(unit, &in);
    QCOMPARE(control.selectedAddress(), kIndoorUnit);
    // Its status comes with its answer to the station's query.
    QVERIFY(QTest::qWaitFor([&] { return control.txtTemp->text() == QLatin1String("22"); }, 60000));
    for (Qt::Key key : {Qt::Key_F3, Qt::Key_F7, Qt::Key_F5}) QTest::keyClick(&control, key);
    const std::string applied = "new status of unit " + std::to_string(kIndoorUnit);
    QElapsedTimer sent;
    sent.start();
    QVERIFY(QTest::qWaitFor([&] { return answeredAt(site.simulator(), applied).has_value(); }, 5000));
    QVERIFY2(sent.elapsed() < 2500, qPrintable(QString::number(sent.elapsed())));
    // A refresh after the unit's answer shows what the library holds.
    const QIcon running = *programIcon(QStringLiteral("icons/KX_Green_Water.ico"));
    QVERIFY(QTest::qWaitFor(
        [&] {
          control.tmrForRefreshAll_Timer();
          return unit->icon().cacheKey() == running.cacheKey() && control.txtTemp->text() == QLatin1String("23");
        },
        5000));
    const CentralStatus status = TramsollClient().centralStatus(kIndoorUnit);
    QCOMPARE(std::tuple(status.runFlag, status.mode, status.setPoint), std::tuple(1, 2, 23.0f));
    QCOMPARE(control.txtMode->text(), QStringLiteral("Cooling"));
    QTest::keyClick(&control, Qt::Key_Escape);
    QVERIFY(QTest::qWaitFor([&] { return !map.isControlWindowOpen(); }, 5000));

    // ---- The control-parameter change of outdoor unit 1 (zubrel 1) ----
    answerNextModal([](QWidget* modal) {
      auto* certify = qobject_cast<frmCertify*>(modal);
      if (!certify) {
        modal->close();
        return;
      }
      certify->txtPassword->setText(QStringLiteral("kestrel7"));
      certify->cmdOk->click();
    });
    QTest::keyClick(&map, Qt::Key_F4);
    QTest::keyClick(&map, Qt::Key_F9);
    frmDataChange& change = frmDataChange::instance();
    QVERIFY(change.isLoaded());
    QCOMPARE(change.txtZubrelAddress->text(), QStringLiteral("001"));
    change.txtSetNo->setText(QStringLiteral("7"));
    change.txtSetValue->setText(QStringLiteral("300"));
    answerNextModal([](QWidget* modal) {
      if (auto* question = qobject_cast<YesNoDialog*>(modal)) return question->cmdOk->click();
      modal->close();
    });
    QTest::keyClick(&change, Qt::Key_F1);
    std::optional<double> changed;
    QVERIFY(QTest::qWaitFor([&] { return (changed = answeredAt(site.simulator(), "setting changed 7 of unit 1")).has_value(); }, 5000));
    // The read-back's answer: the first answer to a request for unit 1 after
    // the change.
    std::optional<double> readBack;
    QVERIFY(QTest::qWaitFor(
        [&] {
          for (const adaptersim::LogEntry& entry : site.simulator().log()) {
            if (entry.direction == '>' && entry.note == "setting 0 of unit 1" && entry.seconds > *changed) {
              readBack = entry.seconds;
            }
          }
          return readBack.has_value();
        },
        10000));
    QVERIFY2(*readBack - *changed > 4.5 && *readBack - *changed < 7, qPrintable(QString::number(*readBack - *changed)));

    inside(map).cmdCancel->click();
    QVERIFY(QTest::qWaitFor([] { return !program().mapFormOpen; }, 5000));
  }
};

QTEST_MAIN(BusOperationOverSimulatorTest)
#include "bus_operation_over_simulator_test.moc"

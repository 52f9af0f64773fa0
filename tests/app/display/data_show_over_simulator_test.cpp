// A live display window from the map over the real library and the
// simulated sample installation: System 1's items with their values and
// change times under "Monitoring: ", read again every 5 s; the map closes
// once the window has gone.
#include "display/frmDataShow.h"
#include "frame/grid.h"
#include "frame/program_values.h"
#include "map/frmMap.h"
#include "support/program_fixture.h"
#include "support/simulated_installation.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

QStringList column(const frmDataShow& window, int column) {
  QStringList texts;
  for (int row = 0; row < window.grdList->rowCount(); ++row) texts << Grid(*window.grdList).text(row, column);
  return texts;
}

bool someFilled(const QStringList& texts) {
  return std::any_of(texts.begin(), texts.end(), [](const QString& text) { return !text.trimmed().isEmpty(); });
}

}  // namespace

class DataShowOverSimulatorTest : public QObject {
  Q_OBJECT

 private slots:
  void liveWindowFromTheMapRefreshesAndClosesWithIt() {
    SimulatedInstallation site;
    QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
    frmMap* opened = startWithBusMap(site);
    QVERIFY(opened);
    frmMap& map = *opened;
    // System 1 with its two indoor units, its models fixed.
    QVERIFY(QTest::qWaitFor(
        [&] { return !map.mapQ7netObj->systems.isEmpty() && map.mapQ7netObj->systems.item(1)->airconsIn.count() == 2; },
        20000));
    QTest::qWait(6000);

    map.cmdShowMode->click();
    map.cmdMode[0]->click();  // F6: a live window of the selected system
    QCOMPARE(map.dataShowForms.count(), 1);
    const std::shared_ptr<frmDataShow> window = map.dataShowForms.windows().item(1);
    QVERIFY(window->isVisible());
    QVERIFY2(window->windowTitle().contains(QStringLiteral("System 1")), qPrintable(window->windowTitle()));
    const QStringList names = column(*window, 1);
    QVERIFY(names.size() > 3);
    QVERIFY2(names.first().startsWith(QStringLiteral("1 O-1-")), qPrintable(names.first()));
    QVERIFY(std::any_of(names.begin(), names.end(), [](const QString& name) { return name.contains(" I-2-"); }));
    QVERIFY(someFilled(column(*window, 2)));
    QVERIFY(window->lblDay->text().startsWith(QStringLiteral("Monitoring: 2")));
    const QString shownAt = window->lblDay->text();
    const QStringList changedAt = column(*window, 3);
    QVERIFY(someFilled(changedAt));

    // Every 5 s the newest values: the cursor's time and the change times move on.
    QVERIFY(QTest::qWaitFor([&] { return window->lblDay->text() != shownAt; }, 11000));
    QVERIFY(QTest::qWaitFor([&] { return column(*window, 3) != changedAt; }, 11000));
    saveScreenshot(*window, QStringLiteral("live-display"));

    // The map closes once its live window has gone.
    map.cmdCancel->click();
    QVERIFY(window->flagForEnd);
    QVERIFY(program().mapFormOpen);
    QVERIFY(QTest::qWaitFor([&] { return !program().mapFormOpen; }, 15000));
    QVERIFY(map.dataShowForms.isEmpty() && !window->isLoaded());
  }
};

QTEST_MAIN(DataShowOverSimulatorTest)
#include "data_show_over_simulator_test.moc"

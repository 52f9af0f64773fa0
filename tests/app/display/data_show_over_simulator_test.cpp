// A live display window from the map over the real library and the
// simulated sample installation: System 1's items with their values and
// change times under "Monitoring: ", read again every 5 s, its default items
// drawn as pens with legends and as lanes, drawn again every 5 s and when
// the window is resized; the map closes once the window has gone.
#include "display/frmDataShow.h"
#include "display/data_show_layout.h"
#include "frame/grid.h"
#include "frame/twips.h"
#include "frame/program_values.h"
#include "map/frmMap.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/simulated_installation.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

QStringList column(const frmDataShow& window, int column) {
  QStringList texts;
  for (int row = 0; row < window.grdList->rowCount(); ++row) texts << Grid(*window.grdList).text(row, column);
  return texts;
}

int shownLabels(const std::array<QLabel*, 8>& labels) {
  return int(std::count_if(labels.begin(), labels.end(),
                           [](const QLabel* label) { return label->isVisibleTo(label->parentWidget()); }));
}

bool holdsColour(const QImage& image, const QColor& colour) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == colour) return true;
    }
  }
  return false;
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
    // System 1 with its two indoor units, its models fixed: every unit on
    // line.
    const auto systemOneOnLine = [&] {
      const auto system = map.recordingMap()->systems.item(1);
      if (!system || system->airconsIn.count() != 2 || system->airconsOut.count() == 0) return false;
      for (const auto& unit : system->airconsOut) {
        if (unit->onLine != 3) return false;
      }
      for (const auto& unit : system->airconsIn) {
        if (unit->onLine != 3) return false;
      }
      return true;
    };
    QVERIFY(QTest::qWaitFor(systemOneOnLine, 60000));

    inside(map).cmdShowMode->click();
    inside(map).cmdMode[0]->click();  // F6: a live window of the selected system
    QCOMPARE(inside(map).dataShowForms.count(), 1);
    const std::shared_ptr<frmDataShow> window = inside(map).dataShowForms.windows().item(1);
    QVERIFY(window->isVisible());
    QVERIFY2(window->windowTitle().contains(QStringLiteral("System 1")), qPrintable(window->windowTitle()));
    const QStringList names = column(*window, 1);
    QVERIFY(names.size() > 3);
    QVERIFY2(names.first().startsWith(QStringLiteral("1 O-1-")), qPrintable(names.first()));
    QVERIFY(std::any_of(names.begin(), names.end(), [](const QString& name) { return name.contains(" I-2-"); }));
    // The values and change times of the library's first gathering.
    QVERIFY(QTest::qWaitFor(
        [&] {
          return someFilled(column(*window, 2)) && someFilled(column(*window, 3)) &&
                 window->lblDay->text().startsWith(QStringLiteral("Monitoring: 2"));
        },
        60000));
    const QString shownAt = window->lblDay->text();
    const QStringList changedAt = column(*window, 3);

    // Every 5 s the newest values: the cursor's time and the change times move on.
    QVERIFY(QTest::qWaitFor([&] { return window->lblDay->text() != shownAt; }, 60000));
    QVERIFY(QTest::qWaitFor([&] { return column(*window, 3) != changedAt; }, 60000));
    saveScreenshot(*window, QStringLiteral("live-display"));

    // The default items as pens with their legends and as lanes with their
    // labels, the first pen near-black.
    QVERIFY(shownLabels(window->lblAnalog) > 0);
    QVERIFY(shownLabels(window->lblDigital) > 0);
    QVERIFY(holdsColour(window->picAnalog->image(), QColor(1, 1, 1)));
    QVERIFY(holdsColour(window->picDigital->image(), QColor(0, 0, 255)));
    // Drawn again at the next tick: a stain on both areas goes.
    const QColor stain(7, 7, 7);
    window->picAnalog->image().fill(stain);
    window->picDigital->image().fill(stain);
    QVERIFY(QTest::qWaitFor([&] { return window->picAnalog->image().pixelColor(0, 0) != stain; }, 60000));
    QVERIFY(window->picDigital->image().pixelColor(0, 0) != stain);
    QVERIFY(holdsColour(window->picAnalog->image(), QColor(1, 1, 1)));

    // Resized: laid out again for its new size and drawn again.
    window->picAnalog->image().fill(stain);
    window->subWindow()->resize(window->subWindow()->size() + QSize(200, 100));
    const DataShowLayout layout = layoutDataShow(pixelsToTwips(window->width()), pixelsToTwips(window->height()));
    QCOMPARE(window->picAnalog->width(), twipsToPixels(layout.picAnalog.width));
    QCOMPARE(window->picDigital->y(), twipsToPixels(layout.picDigital.top));
    QVERIFY(holdsColour(window->picAnalog->image(), QColor(1, 1, 1)));
    QVERIFY(!holdsColour(window->picAnalog->image(), stain));
    saveScreenshot(*window, QStringLiteral("live-display-resized"));

    // The map closes once its live window has gone.
    inside(map).cmdCancel->click();
    QVERIFY(window->flagForEnd);
    QVERIFY(program().mapFormOpen);
    QVERIFY(QTest::qWaitFor([&] { return !program().mapFormOpen; }, 15000));
    QVERIFY(inside(map).dataShowForms.isEmpty() && !window->isLoaded());
  }
};

QTEST_MAIN(DataShowOverSimulatorTest)
#include "data_show_over_simulator_test.moc"

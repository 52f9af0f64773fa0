// The start-up load of the station file pelomar3.dam with 10,000 and with
// 100,000 persons in charge (0.07 and 0.7 MB), from a scratch program folder
// through loadServiceStationFile, the fastest of the rounds (three) each. Before
// any figure every load is checked against what was written: the station's
// four texts, the count of persons, and the first, a middle and the last
// person and their keys; a wrong answer ends the run with an error and no
// figure. Reports each load beside one plain read of the same file in the
// same run (the reference), and the growth from the small file to the large
// one (10x the persons: a load in time proportional to the file grows about
// 10x). A timing program, not a pass/fail test of speed.
//
//   app_station_file_bench [--small N] [--large N] [--rounds N]     (default 10000, 100000, 3)
#include "frame/site/paths.h"
#include "frame/site/site_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

QString personName(int position) { return QStringLiteral("Person in charge %1").arg(position); }

DataManageInfor stationOf(int persons) {
  DataManageInfor station;
  station.ssName = QStringLiteral("Bench service");
  station.ssAddress = QStringLiteral("1 Bench Road");
  station.ssTel = QStringLiteral("03-0000");
  station.ssFax = QStringLiteral("03-0001");
  for (int p = 1; p <= persons; ++p) station.ssChargeMen.add(std::make_shared<QString>(personName(p)));
  return station;
}

bool personRight(const DataManageInfor& loaded, int position) {
  const auto person = loaded.ssChargeMen.item(QString::number(position));
  if (person && *person == personName(position) && loaded.ssChargeMen.positionOf(QString::number(position)) == position)
    return true;
  std::fprintf(stderr, "person %d was loaded as \"%s\"\n", position, person ? qPrintable(*person) : "(none)");
  return false;
}

bool loadedRight(int persons) {
  const DataManageInfor& loaded = serviceShop();
  if (loaded.ssName != QLatin1String("Bench service") || loaded.ssFax != QLatin1String("03-0001") ||
      loaded.ssChargeMen.count() != persons) {
    std::fprintf(stderr, "the station of %d persons was loaded with %d\n", persons, loaded.ssChargeMen.count());
    return false;
  }
  return personRight(loaded, 1) && personRight(loaded, persons / 2) && personRight(loaded, persons);
}

struct Figures {
  double load = 1e9;
  double read = 1e9;
};

double secondsOf(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e9; }

// False when a load gave a wrong answer.
bool timeLoad(const QString& folder, int persons, int rounds, Figures& best) {
  const QString path = QDir(folder).filePath(QStringLiteral("pelomar3.dam"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(serviceStationText(stationOf(persons), 1, 50)) < 0) return false;
  file.close();
  setProgramFolder(folder);
  for (int round = 0; round < rounds; ++round) {
    clearServiceStationInfo();
    QElapsedTimer timer;
    timer.start();
    const SiteFileResult result = loadServiceStationFile();
    best.load = std::min(best.load, secondsOf(timer));
    if (!result) std::fprintf(stderr, "%s\n", qPrintable(result.message));
    if (!result || !loadedRight(persons)) return false;
    timer.restart();
    QFile plain(path);
    if (!plain.open(QIODevice::ReadOnly) || plain.readAll().isEmpty()) return false;
    best.read = std::min(best.read, secondsOf(timer));
  }
  clearServiceStationInfo();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int sizes[2] = {10000, 100000};
  int rounds = 3;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--small") == 0) sizes[0] = std::max(2, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--large") == 0) sizes[1] = std::max(2, std::atoi(argv[i + 1]));
  }
  Figures figures[2];
  bool ok = true;
  for (int s = 0; s < 2 && ok; ++s) {
    QTemporaryDir folder;
    ok = folder.isValid() && timeLoad(folder.path(), sizes[s], rounds, figures[s]);
  }
  if (!ok) {
    std::fprintf(stderr, "the station file was loaded wrong: no figures\n");
    return 1;
  }
  // Both files were loaded right: only now the figures.
  for (int s = 0; s < 2; ++s) {
    std::printf("%7d persons: load %8.4f s, one plain read of the file %8.4f s\n", sizes[s], figures[s].load,
                figures[s].read);
  }
  std::printf("growth for %.0fx the persons: load %.1fx, plain read %.1fx (proportional: about %.0fx)\n",
              static_cast<double>(sizes[1]) / sizes[0], figures[1].load / figures[0].load,
              figures[1].read / figures[0].read, static_cast<double>(sizes[1]) / sizes[0]);
  return 0;
}

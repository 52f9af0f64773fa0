// The settings store at the start and at a write, over a store with 4,000
// and with 40,000 keys of another program's beside the program's own (0.06
// and 0.6 MB): the start's reads (the window place, the port, the sensor
// inputs and the display options, read once from the file, then from
// memory) and one write (the file read again, the value set, the text put
// in place), the fastest of the rounds (three) each. Before any figure the
// reads and the write are checked: the stored port and window width read
// as written, and the port written reads back at the next start; a wrong
// answer ends the run with an error and no figure. Reports the growth from
// the small store to the large one (10x the keys: work in time
// proportional to the store grows about 10x). A timing program, not a
// pass/fail test of speed.
//
//   app_settings_store_bench [--small N] [--large N] [--rounds N]     (default 4000, 40000, 3)
#include "frame/site/program_settings.h"
#include "frame/site/settings_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

QByteArray storeOf(int keys) {
  QByteArray text = "[Other]\n";
  for (int key = 0; key < keys; ++key) text += "Key" + QByteArray::number(key) + '=' + QByteArray::number(key) + '\n';
  return text + "[DspOption]\nWin_Width=12000\n[SerialPort]\nPortNo=3\n";
}

struct Figures {
  double start = 1e9;
  double write = 1e9;
};

double secondsOf(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e9; }

// The reads the program makes at its start; false when one read wrong.
bool startReads(int port) {
  const WindowPlace place = readMainWindowPlace();
  readSensorParamsSetting();
  for (const DisplayOptionSetting& setting : displayOptionSettings()) readDisplayOptionSetting(setting);
  if (place.width == 12000 && readComPortSetting() == port) return true;
  std::fprintf(stderr, "the store was read as width %d, port %d\n", place.width, readComPortSetting());
  return false;
}

// False when a read or the write gave a wrong answer.
bool timeStore(const QString& file, int keys, int rounds, Figures& best) {
  for (int round = 0; round < rounds; ++round) {
    QFile store(file);
    if (!store.open(QIODevice::WriteOnly | QIODevice::Truncate) || store.write(storeOf(keys)) < 0) return false;
    store.close();
    QElapsedTimer timer;
    timer.start();
    settings::useStoreFile(file);
    if (!startReads(3)) return false;
    best.start = std::min(best.start, secondsOf(timer));
    timer.restart();
    if (!settings::writeNumber(QStringLiteral("SerialPort"), QStringLiteral("PortNo"), 4)) return false;
    best.write = std::min(best.write, secondsOf(timer));
    settings::useStoreFile(file);
    if (!startReads(4)) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int sizes[2] = {4000, 40000};
  int rounds = 3;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--small") == 0) sizes[0] = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--large") == 0) sizes[1] = std::max(1, std::atoi(argv[i + 1]));
  }
  Figures figures[2];
  bool ok = true;
  for (int s = 0; s < 2 && ok; ++s) {
    const QTemporaryDir folder;
    ok = folder.isValid() && timeStore(folder.filePath(QStringLiteral("store.ini")), sizes[s], rounds, figures[s]);
  }
  if (!ok) {
    std::fprintf(stderr, "the settings store was read or written wrong: no figures\n");
    return 1;
  }
  // Both stores were read and written right: only now the figures.
  for (int s = 0; s < 2; ++s) {
    std::printf("%6d keys: the start's reads %8.4f s, one write %8.4f s\n", sizes[s], figures[s].start,
                figures[s].write);
  }
  std::printf("growth for %.0fx the keys: start %.1fx, write %.1fx (proportional: about %.0fx)\n",
              static_cast<double>(sizes[1]) / sizes[0], figures[1].start / figures[0].start,
              figures[1].write / figures[0].write, static_cast<double>(sizes[1]) / sizes[0]);
  return 0;
}

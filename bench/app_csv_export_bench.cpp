// The CSV export of a large recording through the customer data window:
// F3, GO, the save dialog answered at once, then the conversion in slices on
// the slice driver under a running event loop with its progress window,
// beside the library's conversion alone (setCsvFile and execCsvOut in a
// loop) of the same file in the same run. The recording is of the sample
// models, which the loaded libtramsoll.so reads from a scratch program
// folder: 4 outdoor and 16 indoor units recorded every 5 s, as many records
// as make it the given size (by default that of csv_search_bench's 24
// hours). The two run in turn for a number of rounds, the output removed
// and flushed to the disk between them; reports the fastest of each, their
// ratio, and the longest time the event loop waited during the window's
// conversions; the library alone is the reference. Every conversion's files
// are checked before any figure: one per unit and set, outdoor unit 1's a row
// for every record, its first rows those the sample recording's export gives
// (testdata/csv, where unit 1 is recorded alike); a wrong answer ends the
// run with an error and no figure. A timing program, not a pass/fail test
// of speed.
//
//   app_csv_export_bench [--megabytes N] [--rounds N]     (default 83, 3)
#include "das_gen.h"
#include "frame/frmMain.h"
#include "frame/library/library_text.h"
#include "frame/library/tramsoll_api.h"
#include "frame/library/tramsoll_client.h"
#include "frame/program_start.h"
#include "frame/program_values.h"
#include "program_windows.h"
#include "records/csv_output_files.h"
#include "records/frmCsvSetting.h"
#include "records/frmCustomsData.h"
#include "sample_units.h"
#include "support/simulated_installation.h"
#include "wrong_answer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

constexpr int kOutdoorUnits = 4;
constexpr int kIndoorUnits = 16;

dasgen::Recording largeRecording(uint32_t records) {
  dasgen::Recording made = dasgen::sampleCsvRecording();
  made.units.clear();
  for (int n = 1; n <= kOutdoorUnits; ++n) {
    made.units.push_back(dasgen::sampleUnit(dasgen::SampleModel::Outdoor, static_cast<uint8_t>(n),
                                            static_cast<uint8_t>(n), static_cast<uint8_t>(n)));
  }
  for (int n = 1; n <= kIndoorUnits; ++n) {
    made.units.push_back(dasgen::sampleUnit(dasgen::SampleModel::Indoor, static_cast<uint8_t>(n),
                                            static_cast<uint8_t>(16 + n), static_cast<uint8_t>(1 + n % 4)));
  }
  made.dataByte = dasgen::sampleData(made.units);
  made.records = records;
  return made;
}

bool write(const QString& path, const dasgen::Recording& recording) {
  std::string error;
  if (dasgen::writeRecording(path.toStdString(), recording, error)) return true;
  std::fprintf(stderr, "%s\n", error.c_str());
  return false;
}

// The files written are removed and the disk has caught up before the
// next conversion.
void removeOutput(const QString& folder) {
  for (const QString& name : QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files)) {
    QFile::remove(QDir(folder).filePath(name));
  }
  ::sync();
}

// The rows of a CSV file that hold a record: they begin with its quoted date.
QList<QByteArray> recordRows(const QString& path) {
  QFile file(path);
  QList<QByteArray> rows;
  if (!file.open(QIODevice::ReadOnly)) return rows;
  for (const QByteArray& line : file.readAll().split('\n')) {
    if (line.size() > 1 && line[0] == '"' && std::isdigit(static_cast<unsigned char>(line[1]))) rows.append(line);
  }
  return rows;
}

// A conversion's answers: a file per unit and set of 65,536 lines; outdoor
// unit 1's with a row per record, the first rows as in the sample
// recording's export.
bool exportRight(const char* road, const QString& folder, qsizetype records) {
  const QStringList files = QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
  const QStringList outdoor = files.filter(QStringLiteral("_Ou01"));
  if (outdoor.isEmpty() || files.size() != (kOutdoorUnits + kIndoorUnits) * outdoor.size()) {
    return wrongAnswer("%s: %lld CSV files for %d units", road, static_cast<long long>(files.size()),
                       kOutdoorUnits + kIndoorUnits);
  }
  qsizetype rows = 0;
  QList<QByteArray> first;
  for (const QString& name : outdoor) {
    const QList<QByteArray> set = recordRows(QDir(folder).filePath(name));
    rows += set.size();
    if (name.endsWith(QStringLiteral("_Ou01.csv"))) first = set;
  }
  const QList<QByteArray> known = recordRows(QStringLiteral(PELOMAR_SOURCE_DIR "/testdata/csv/sample_Ou01.csv"));
  if (rows != records || known.isEmpty() || first.mid(0, known.size()) != known) {
    return wrongAnswer("%s: %lld rows for %lld records, or not the sample's first rows", road,
                       static_cast<long long>(rows), static_cast<long long>(records));
  }
  return true;
}

// setCsvFile and execCsvOut until the end, as the library's own loop.
double libraryAlone(const QString& customDir, const QString& basePath) {
  TramsollApi& api = tramsollApi();
  QElapsedTimer total;
  total.start();
  int32_t listed = 0;
  api.getFileNum(textForLibrary(customDir).constData(), &listed);
  api.CsvDateSet("", "", 3);
  if (TramsollClient().setCsvFile(customDir, 1, basePath, csvHeadingTexts()) != 0) return -1;
  int32_t progress = 0;
  int32_t result = 1;
  while (result == 1) result = api.execCsvOut(&progress);
  return result == 0 ? total.nsecsElapsed() / 1e9 : -1;
}

struct RoadTiming {
  double seconds = 0;
  qint64 longestWaitMs = 0;
};

// The window's road from GO to the end of the conversion, with a 10 ms
// timer that notes how long each turn of the event loop was kept waiting.
RoadTiming throughTheWindow(const QString& chosenName) {
  frmMain::instance().cmdPlay->click();
  frmCustomsData& list = frmCustomsData::instance();
  list.CommonDialogCsv = [chosenName](const QString&) -> std::optional<QString> { return chosenName; };
  list.grdList->setCurrentCell(0, 1);
  list.cmdCsv->click();
  RoadTiming timing;
  QEventLoop loop;
  QElapsedTimer total, sinceTurn;
  QTimer turns;
  turns.setInterval(10);
  QObject::connect(&turns, &QTimer::timeout, [&] {
    timing.longestWaitMs = std::max(timing.longestWaitMs, sinceTurn.restart());
    if (!program().csvOutputRunning) loop.quit();
  });
  total.start();
  sinceTurn.start();
  turns.start();
  frmCsvSetting::instance().go->click();
  loop.exec();
  timing.seconds = total.nsecsElapsed() / 1e9;
  return timing;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("TZ", "UTC");
  QApplication app(argc, argv);
  long megabytes = 83;
  int rounds = 3;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--megabytes") == 0) megabytes = std::max(1L, std::atol(argv[i + 1]));
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
  }
  SimulatedInstallation site;
  if (!site.setUpError().isEmpty()) {
    std::fprintf(stderr, "%s", qPrintable(site.setUpError()));
    return 1;
  }
  installProgramWindows();
  if (!startProgram(StartEnvironment{QDate::currentDate(), site.lockFolder()})) return 1;

  // The record size comes from the units: one small recording tells it.
  const QString recording = site.folder.file(QStringLiteral("large.das"));
  if (!write(recording, largeRecording(1000))) return 1;
  const qint64 thousand = std::max<qint64>(QFileInfo(recording).size(), 1);
  const auto records = static_cast<uint32_t>(megabytes * 1000 * 1000 * 1000 / thousand);
  if (!write(recording, largeRecording(records))) return 1;
  const double mb = QFileInfo(recording).size() / 1e6;
  const QString csv = site.folder.file(QStringLiteral("csv"));

  removeOutput(csv);
  RoadTiming road{1e9, 0};
  double alone = 1e9;
  for (int round = 0; round < rounds; ++round) {
    const RoadTiming window = throughTheWindow(csv + QStringLiteral("/road.csv"));
    road = {std::min(road.seconds, window.seconds), std::max(road.longestWaitMs, window.longestWaitMs)};
    if (!exportRight("through the window", csv, records)) return 1;
    removeOutput(csv);
    const double library = libraryAlone(site.folder.path() + QLatin1Char('/'), csv + QStringLiteral("/alone"));
    if (library < 0) {
      std::fprintf(stderr, "the library's conversion failed\n");
      return 1;
    }
    if (!exportRight("library alone", csv, records)) return 1;
    removeOutput(csv);
    alone = std::min(alone, library);
  }
  std::printf("recording             %8.1f MB (%d units of the sample models)\n", mb, kOutdoorUnits + kIndoorUnits);
  std::printf("library alone         %8.2f s  (fastest of %d)\n", alone, rounds);
  std::printf("through the window    %8.2f s  (%.0f %% of the library alone)\n", road.seconds,
              100 * road.seconds / alone);
  std::printf("longest event wait    %8lld ms\n", static_cast<long long>(road.longestWaitMs));
  return 0;
}

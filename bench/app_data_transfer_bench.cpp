// The data-transfer copy of a large recording: a recording of the given size
// in a customer folder, copied into an empty folder by the window's copy
// (one piece per slice on the slice driver, under a running event loop),
// beside `cp` and `sync` of the same file in the same run. Reports both
// rates, their ratio, and the longest time the event loop waited during the
// copy (how long the window went without repainting). Both copies write
// below the current folder, so that they reach a real disk. `cp` and `sync`
// are the reference. Before any figure the copy is checked: one file copied,
// the customer's folder holding what it should, and the copy byte for byte
// its source; a wrong answer ends the run with an error and no figure. A
// timing program, not a pass/fail test of speed.
//
//   app_data_transfer_bench [--megabytes N]     (default 200)
#include "das_gen.h"
#include "records/data_transfer_copy.h"
#include "wrong_answer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

// A window that is never asked anything: the destination is empty.
class QuietWindow : public CopyWindow {
 public:
  bool flagForEnd() const override { return false; }
  CopyAnswers& copyAnswers() override { return answers_; }
  void askSameData(const CatalogueRow&, const CatalogueRow&) override {}
  void askSameCustomer(const DataShowCustom&, const DataShowCustom&) override {}
  void showCopyFailure(const FileOutcome& outcome) override {
    std::fprintf(stderr, "copy failed: %s\n", qPrintable(outcome.errorLine()));
  }

 private:
  CopyAnswers answers_;
};

std::shared_ptr<DataShowManager> catalogueOf(const QString& folder, const QString& fileName) {
  auto list = std::make_shared<DataShowManager>();
  auto custom = std::make_shared<DataShowCustom>();
  custom->customNumber = 1;
  custom->customId = QStringLiteral("acme");
  custom->customDir = folder + QStringLiteral("/acme/");
  auto file = std::make_shared<DataShowFile>();
  file->fileNumber = 1;
  file->fileName = fileName;
  custom->dataShowFiles.add(file, QStringLiteral("1"));
  list->dataShowCustoms.add(custom, QStringLiteral("1"));
  return list;
}

struct CopyTiming {
  double seconds = 0;
  qint64 longestWaitMs = 0;
  int copiedFiles = 0;
};

// The window's road: slices under an event loop, with a 10 ms timer that
// notes how long each turn of the loop was kept waiting.
CopyTiming copyThroughWindow(const QString& source, const QString& target) {
  QuietWindow window;
  DataTransferCopy copy(window, {kOperationData, 1, 1, catalogueOf(source, QStringLiteral("big.das")), target,
                                 std::make_shared<DataShowManager>()});
  SliceDriver driver;
  QEventLoop loop;
  QObject::connect(&driver, &SliceDriver::ended, &loop, &QEventLoop::quit);
  QElapsedTimer total, sinceTurn;
  CopyTiming timing;
  QTimer turns;
  turns.setInterval(10);
  QObject::connect(&turns, &QTimer::timeout, [&] {
    timing.longestWaitMs = std::max(timing.longestWaitMs, sinceTurn.restart());
  });
  total.start();
  sinceTurn.start();
  turns.start();
  driver.start([&copy] { return copy.step(); });
  loop.exec();
  timing.seconds = total.nsecsElapsed() / 1e9;
  timing.longestWaitMs = std::max(timing.longestWaitMs, sinceTurn.elapsed());
  timing.copiedFiles = copy.copiedFiles();
  return timing;
}

// Seconds; -1 when cp or sync failed, whose time would be no reference.
double copyWithCp(const QString& source, const QString& target) {
  QElapsedTimer total;
  total.start();
  if (QProcess::execute(QStringLiteral("cp"), {source, target}) != 0 ||
      QProcess::execute(QStringLiteral("sync"), {target}) != 0) {
    std::fprintf(stderr, "cp or sync failed: no figures\n");
    return -1;
  }
  return total.nsecsElapsed() / 1e9;
}

// The copy's answers: one file copied, the folder holding the customer's
// files, and the copied recording byte for byte its source.
bool copiedRight(const QString& source, const QString& folder, int copiedFiles) {
  const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
  if (copiedFiles != 1 || files != QStringList{QStringLiteral("acme.dak"), QStringLiteral("big.das")}) {
    return wrongAnswer("%d file(s) copied, the folder holds %s", copiedFiles, qPrintable(files.join(u' ')));
  }
  QFile original(source), copied(QDir(folder).filePath(QStringLiteral("big.das")));
  if (!original.open(QIODevice::ReadOnly) || !copied.open(QIODevice::ReadOnly) || original.size() != copied.size()) {
    return wrongAnswer("the copy cannot be read or is not the size of its source");
  }
  while (!original.atEnd()) {
    const qint64 at = original.pos();
    if (original.read(1 << 20) != copied.read(1 << 20)) {
      return wrongAnswer("the copy differs in the MB from byte %lld", static_cast<long long>(at));
    }
  }
  return true;
}

bool writeRecording(const QString& path, const dasgen::Recording& recording) {
  std::string error;
  if (dasgen::writeRecording(path.toStdString(), recording, error)) return true;
  std::fprintf(stderr, "%s\n", error.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  long megabytes = 200;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--megabytes") == 0) megabytes = std::max(1L, std::atol(argv[i + 1]));
  }
  QTemporaryDir scratch(QDir::currentPath() + QStringLiteral("/data-transfer-bench-XXXXXX"));
  const QString source = scratch.filePath(QStringLiteral("p"));
  const QString target = scratch.filePath(QStringLiteral("d"));
  QDir().mkpath(source + QStringLiteral("/acme"));
  QDir().mkpath(target + QStringLiteral("/acme"));
  QFile customer(source + QStringLiteral("/acme/acme.dak"));
  if (!customer.open(QIODevice::WriteOnly) || customer.write("1,50\r\n\"acme\",\"Acme\"\r\n") < 0) return 1;
  customer.close();

  // The record size comes from the units: one small recording tells it.
  const QString recording = source + QStringLiteral("/acme/big.das");
  dasgen::Recording plan = dasgen::periodicRecording("Large", 1000);
  if (!writeRecording(recording, plan)) return 1;
  const qint64 thousand = QFileInfo(recording).size();
  plan.records = static_cast<uint32_t>(megabytes * 1000 * 1024 * 1024 / std::max<qint64>(thousand, 1));
  if (!writeRecording(recording, plan)) return 1;
  const double mb = QFileInfo(recording).size() / (1024.0 * 1024.0);

  const double cpSeconds = copyWithCp(recording, scratch.filePath(QStringLiteral("cp.das")));
  if (cpSeconds < 0) return 1;
  const CopyTiming window = copyThroughWindow(source, target);
  if (!copiedRight(recording, target + QStringLiteral("/acme"), window.copiedFiles)) return 1;
  const double cpRate = mb / cpSeconds;
  const double windowRate = mb / window.seconds;
  std::printf("recording             %8.1f MB\n", mb);
  std::printf("cp + sync             %8.1f MB/s  (the reference)\n", cpRate);
  std::printf("data-transfer copy    %8.1f MB/s  (%.0f %% of cp + sync)\n", windowRate, 100 * windowRate / cpRate);
  std::printf("longest event wait    %8lld ms\n", static_cast<long long>(window.longestWaitMs));
  return 0;
}

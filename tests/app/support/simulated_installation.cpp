#include "support/simulated_installation.h"

#include "frame/program_start.h"
#include "frame/program_values.h"
#include "map/frmInterface.h"
#include "map/frmMap.h"
#include "frame/single_instance.h"
#include "simulator.h"
#include "support/fake_tramsoll.h"
#include "support/program_fixture.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

const QString kBinDir = QStringLiteral(PELOMAR_BIN_DIR);

}  // namespace

std::string SimulatedInstallation::sampleScenario() {
  std::ifstream in(PELOMAR_BIN_DIR "/installation.scenario");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

SimulatedInstallation::SimulatedInstallation(const std::string& scenario) {
  copySampleSet();
  adaptersim::Scenario parsed;
  std::istringstream text(scenario);
  std::string error;
  if (scenario.empty() || !adaptersim::parseScenario(text, parsed, error)) {
    setUpError_ += QStringLiteral("the scenario does not read: %1\n").arg(QString::fromStdString(error));
  }
  simulator_ = std::make_unique<adaptersim::Simulator>(parsed);
  if (!simulator_->start("", error)) {
    setUpError_ += QStringLiteral("the simulator does not start: %1\n").arg(QString::fromStdString(error));
  }
  setenv("TRAMSOLL_COM1", simulator_->slavePath().c_str(), 1);
  library_ = std::make_unique<TramsollLibrary>(QDir(kBinDir).filePath(QStringLiteral("libtramsoll.so")),
                                               [this](const QString& message) { failures_ << message; });
  installTramsollApi(library_.get());
}

SimulatedInstallation::~SimulatedInstallation() {
  putWindowsAway();
  releaseInstanceLock();
  // The worker thread must be gone before its line is.
  library_->initDataGather(0, 1, 3, 2, 0, " ", 5);
  installTramsollApi(nullptr);
  simulator_->stop();
  unsetenv("TRAMSOLL_COM1");
}

void SimulatedInstallation::copySampleSet() {
  const QDir from(kBinDir);
  QStringList files{QStringLiteral("vexa5.set")};
  for (const QString& table : QDir(from.filePath(QStringLiteral("table"))).entryList(QDir::Files)) {
    files << QStringLiteral("table/") + table;
  }
  QDir(folder.path()).mkpath(QStringLiteral("table"));
  for (const QString& file : files) {
    if (!QFile::copy(from.filePath(file), folder.file(file))) {
      setUpError_ += QStringLiteral("%1 cannot be copied from %2\n").arg(file, kBinDir);
    }
  }
}

frmMap* startWithBusMap(const SimulatedInstallation& site) {
  if (!startProgram(StartEnvironment{QDate(2024, 5, 1), site.lockFolder()})) return nullptr;
  program().workMode = kWorkRecording;
  frmInterface& access = frmInterface::instance();
  access.showForMap(1, 0);
  access.doFix();
  frmMap& map = frmMap::instance();
  return map.isLoaded() ? &map : nullptr;
}

void forwardCallsToLibrary(FakeTramsoll& fake, TramsollApi& library) {
#define PELOMAR_FORWARD_EXPORT(name, params, args) \
  fake.on<decltype(::name)>(#name, [&library] params { return library.name args; });
  TRAMSOLL_EXPORTS(PELOMAR_FORWARD_EXPORT)
#undef PELOMAR_FORWARD_EXPORT
}

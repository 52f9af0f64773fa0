// The program over the real library and a simulated installation: a scratch
// program folder holding the sample setting and table files, the adapter
// simulator answering on a pseudo-terminal that COM1 is pointed at, and
// libtramsoll.so of the build loaded through TramsollLibrary in place of the
// fake. Everything is taken down again in reverse order, the windows of a
// program started over it first.
#pragma once

#include "frame/library/tramsoll_library.h"
#include "support/test_support.h"

#include <QStringList>

#include <memory>
#include <string>

namespace adaptersim {
class Simulator;
}

class frmMap;

class SimulatedInstallation {
 public:
  // The simulator runs the scenario's text; by default the sample
  // installation of the build's program folder.
  explicit SimulatedInstallation(const std::string& scenario = sampleScenario());
  ~SimulatedInstallation();
  SimulatedInstallation(const SimulatedInstallation&) = delete;
  SimulatedInstallation& operator=(const SimulatedInstallation&) = delete;

  static std::string sampleScenario();

  // "" when the simulator is up and the sample files are in place, else why
  // not.
  const QString& setUpError() const { return setUpError_; }
  adaptersim::Simulator& simulator() { return *simulator_; }
  TramsollLibrary& library() { return *library_; }
  // What the library file reported as missing (file or export).
  const QStringList& libraryFailures() const { return failures_; }
  // A start of the program with these settings and this lock folder.
  QString lockFolder() const { return store.path(); }

  ScratchFolder folder;
  ScratchSettings store;

 private:
  void copySampleSet();

  QString setUpError_;
  QStringList failures_;
  std::unique_ptr<adaptersim::Simulator> simulator_;
  std::unique_ptr<TramsollLibrary> library_;
};

class FakeTramsoll;
// Every export of the fake is answered by `library`, so the fake's log
// shows what the program asked the real library.
void forwardCallsToLibrary(FakeTramsoll& fake, TramsollApi& library);

// Starts the program over the installation and opens the map of the Q7 bus
// for recording without a customer, as the access-method window does; null
// when the program did not start or the map did not open.
frmMap* startWithBusMap(const SimulatedInstallation& site);

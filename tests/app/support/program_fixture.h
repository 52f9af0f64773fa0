// A scratch world for starting and ending the program: program folder,
// settings store, lock folder and fake library, and the windows put away
// again afterwards. Ending the program only sets a flag here.
#pragma once

#include "frame/program_start.h"
#include "support/fake_tramsoll.h"
#include "support/test_support.h"

#include <QAction>
#include <QList>
#include <QStringList>

#include <memory>

class ProgramFixture {
 public:
  ProgramFixture();
  ~ProgramFixture();
  // A start on a day well inside the accepted years.
  StartEnvironment environment(QDate today = QDate(2024, 5, 1)) const;
  // The names of the library calls, in order.
  QStringList callNames() const;

  ScratchFolder folder;
  ScratchSettings store;
  InstalledFake library;
};

// A started program with its library calls forgotten (the test fails at
// once when it does not start).
std::unique_ptr<ProgramFixture> startedProgram();

// Activates the main window, as the window system does once it is shown:
// its keys work only then. False when it did not become active.
bool activateMainWindow();

// Scripts getSetFileVer to answer a setting-file version and date.
void scriptVersions(FakeTramsoll& fake, const QByteArray& version, const QByteArray& date);
// Reads the lines of the next frmMessage into `lines` and closes it.
QTimer* readNextMessage(QStringList& lines);
// Answers every frmMessage shown while it lives and keeps its key; any other
// modal window is left to the test.
class MessageCollector {
 public:
  MessageCollector();
  ~MessageCollector();
  QStringList keys;

 private:
  QTimer* watch_;
};

// Answers every question of the Yes/No frame and every message box shown
// while it lives: the questions in turn as `answers` says (No once they run
// out), the messages with OK. `seen` names each in order: a question by its
// window class ("frmChangeMap"), a message by its key.
class ModalAnswerer {
 public:
  explicit ModalAnswerer(QList<bool> answers = {});
  ~ModalAnswerer();
  QStringList seen;

 private:
  QList<bool> answers_;
  QTimer* watch_;
};

// Puts every window away: each is unloaded and destroyed, so that the next
// start makes them afresh; the end of the program is forgotten.
void putWindowsAway();

// The ticks of menu items, in order.
QList<bool> ticks(const auto& items) {
  QList<bool> ticked;
  for (QAction* item : items) ticked << item->isChecked();
  return ticked;
}

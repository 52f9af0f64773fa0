// The preamble the program tests share: a started program (scratch program
// folder, settings store and fake library, see ProgramFixture) made before
// each test function and put away after it. A test that needs more calls
// ProgramTest::init or ProgramTest::cleanup from its own.
#pragma once

#include "support/fake_tramsoll.h"
#include "support/program_fixture.h"

#include <QObject>

#include <memory>

class ProgramTest : public QObject {
  Q_OBJECT

 protected:
  std::unique_ptr<ProgramFixture> world;
  FakeTramsoll& fake() { return world->library.fake; }

 protected slots:
  void init() { world = startedProgram(); }
  void cleanup() { world.reset(); }
};

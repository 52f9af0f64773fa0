// The base of every library test fixture: the library's process-wide state
// is that of a freshly loaded library when a test begins and again when it
// ends, so no test depends on the tests that ran before it.
#pragma once

#include <gtest/gtest.h>

#include "engine/library_state.h"

namespace testsupport {

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { tramsoll::resetLibraryState(); }
  void TearDown() override { tramsoll::resetLibraryState(); }
};

}  // namespace testsupport

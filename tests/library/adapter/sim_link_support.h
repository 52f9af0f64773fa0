// The library's serial path against the simulated adapter on a real
// pseudo-terminal, for either adapter protocol: the fixture starts the
// simulator with a scenario and points COM1 at its slave.
#pragma once

#include <cstdlib>
#include <memory>
#include <sstream>
#include <thread>

#include "adapter_support.h"
#include "simulator.h"

namespace adaptertest {

using namespace std::chrono_literals;

constexpr auto kLinkWait = std::chrono::seconds(5);  // generous: a loaded CI machine under a sanitizer

// The protocol the test drives: its dispatcher and scheduler.
struct Protocol {
  int adapterType;
  void (*dispatch)();
  bool (*scheduler)();
};

class SimLinkTest : public AdapterTest {
 protected:
  void TearDown() override {
    AdapterTest::TearDown();
    if (simulator) simulator->stop();
    unsetenv("TRAMSOLL_COM1");
  }
  void startSimulator(const char* scenarioText, Protocol protocol) {
    protocol_ = protocol;
    adaptersim::Scenario scenario;
    std::istringstream text(scenarioText);
    std::string error;
    ASSERT_TRUE(adaptersim::parseScenario(text, scenario, error)) << error;
    simulator = std::make_unique<adaptersim::Simulator>(scenario);
    ASSERT_TRUE(simulator->start("", error)) << error;
    setenv("TRAMSOLL_COM1", simulator->slavePath().c_str(), 1);
  }
  void open(int adapterType) {
    ASSERT_TRUE(tramsoll::openPort(1, adapterType)) << drainDebugLines().front();
    drainDebugLines();
    busLog.entries.clear();
  }
  void open() { open(protocol_.adapterType); }
  // Dispatches what arrives until `done` holds or the wait runs out.
  template <class Done>
  bool pumpUntil(Done done) {
    auto deadline = std::chrono::steady_clock::now() + kLinkWait;
    while (std::chrono::steady_clock::now() < deadline) {
      protocol_.dispatch();
      if (done()) return true;
      std::this_thread::sleep_for(1ms);
    }
    return false;
  }
  // Sends the next queued packet and waits for the simulator to have it.
  Bytes sendNext() {
    std::size_t before = simulator->received().size();
    EXPECT_TRUE(protocol_.scheduler());
    EXPECT_TRUE(simulator->waitForReceived(before + 1, kLinkWait));
    auto received = simulator->received();
    return received.size() > before ? received[before].bytes : Bytes{};
  }
  bool answered() {
    return pumpUntil([] { return tramsoll::packetInFlight().code == 0; });
  }

  std::unique_ptr<adaptersim::Simulator> simulator;

 private:
  Protocol protocol_{};
};

}  // namespace adaptertest

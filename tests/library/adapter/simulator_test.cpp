// The simulated adapter itself: its scenario file, its side of the framing,
// and the program that offers the pseudo-terminal to a caller.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "adapter/plus.h"
#include "adapter_support.h"
#include "scenario.h"
#include "vexa5_adapter.h"

extern char** environ;

using namespace tramsoll;

namespace {

using adaptersim::Bytes;

bool parse(const char* text, adaptersim::Scenario& scenario, std::string& error) {
  std::istringstream in(text);
  return adaptersim::parseScenario(in, scenario, error);
}

TEST(SimulatorScenarioTest, ReadsUnitsFramesAndBoardData) {
  adaptersim::Scenario s;
  std::string error;
  ASSERT_TRUE(parse("adapter switches 1 value 0x20 echo-status 0F echo-delay 7 board-kind 12\n"
                    "unit central 32 rom 0x01020304 model ABCD kind 9  # a remote controller\n"
                    "frame 90 every 10000 after 50 to 0F status 08\n"
                    "param C-02 01 02\n"
                    "board Q 0a 0B\n"
                    "logger 31 32\n"
                    "fault delay 100\n",
                    s, error))
      << error;
  EXPECT_EQ(s.switches, 1);
  EXPECT_EQ(s.value, 0x20);
  EXPECT_EQ(s.echoStatus, 0x0F);
  EXPECT_EQ(s.echoDelayMs, 7);
  EXPECT_EQ(s.boardKind, 12);
  ASSERT_EQ(s.units.size(), 1u);
  const adaptersim::ScenarioUnit& unit = s.units[0];
  EXPECT_EQ(unit.unitClass, adaptersim::UnitClass::Central);
  EXPECT_EQ(unit.address, 32);
  ASSERT_EQ(unit.frames.size(), 1u);
  EXPECT_EQ(unit.frames[0].command, 0x90);
  EXPECT_EQ(unit.frames[0].afterMs, 50);
  EXPECT_EQ(s.params["C-02"], (Bytes{1, 2}));
  EXPECT_EQ(s.board["Q"], (Bytes{0x0A, 0x0B}));
  EXPECT_EQ(s.logger, (Bytes{0x31, 0x32}));
  EXPECT_EQ(s.faults, std::vector<std::string>{"delay 100"});

  // A central unit's identity: ROM, Zubrel address, 0, kind, model.
  Bytes frame = adaptersim::busFrame(unit, unit.frames[0]);
  EXPECT_EQ(frame, (Bytes{0x14, 0x20, 0x0F, 0x14, 0x0B, 0x90, 0x01, 0x02, 0x03, 0x04, 0x00, 0x00, 0x09, 0xAB,
                          0xCD, 0x00, 0x97}));
}

TEST(SimulatorScenarioTest, UnitPausesForItsWindowOnly) {
  adaptersim::Scenario s;
  std::string error;
  ASSERT_TRUE(parse("unit indoor 18 pause 120000 360000\nunit indoor 19\n", s, error)) << error;
  const adaptersim::ScenarioUnit& paused = s.units[0];
  EXPECT_FALSE(adaptersim::unitPaused(paused, 119999));
  EXPECT_TRUE(adaptersim::unitPaused(paused, 120000));
  EXPECT_TRUE(adaptersim::unitPaused(paused, 479999));
  EXPECT_FALSE(adaptersim::unitPaused(paused, 480000));
  EXPECT_FALSE(adaptersim::unitPaused(s.units[1], 200000));
  EXPECT_FALSE(parse("unit indoor 18 pause 1000\n", s, error));
  EXPECT_EQ(error, "line 1: bad value for pause");
}

TEST(SimulatorScenarioTest, ReadsTheAdapterTypeAndTheUnitsOperation) {
  adaptersim::Scenario s;
  std::string error;
  ASSERT_TRUE(parse("adapter type plus unit-delay 3\n"
                    "unit indoor 17 run 1 mode 4 setpoint -3.5 error 1F error-flag 01\n"
                    "setting 7 300\n"
                    "setting 255 65535\n"
                    "unit indoor 18 setpoint 25\n",
                    s, error))
      << error;
  EXPECT_EQ(s.adapterType, adaptersim::AdapterType::Plus);
  EXPECT_EQ(s.unitDelayMs, 3);
  ASSERT_EQ(s.units.size(), 2u);
  const adaptersim::ScenarioUnit& unit = s.units[0];
  EXPECT_TRUE(unit.running);
  EXPECT_EQ(unit.mode, 4);
  EXPECT_EQ(unit.setPointTenths, -35);
  EXPECT_EQ(unit.errorCode, 0x1F);
  EXPECT_EQ(unit.errorFlag, 0x01);
  EXPECT_EQ(unit.settings, (std::map<int, uint16_t>{{7, 300}, {255, 65535}}));
  EXPECT_EQ(s.units[1].setPointTenths, 250);
  EXPECT_TRUE(s.units[1].settings.empty());
}

TEST(SimulatorScenarioTest, BadLinesAreNamed) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"unit outdoor 1\nbogus 3\n", "line 2: unknown keyword 'bogus'"},
      {"frame 60\n", "line 1: frame before any unit"},
      {"unit attic 1\n", "line 1: unit class must be outdoor, indoor or central"},
      {"unit outdoor 300\n", "line 1: bad value for address"},
      {"logger 3G\n", "line 1: '3G' is not a hexadecimal byte"},
      {"adapter colour 3\n", "line 1: unknown adapter setting 'colour'"},
      {"adapter type modem\n", "line 1: adapter type must be vexa5 or plus"},
      {"setting 7 300\n", "line 1: setting before any unit"},
      {"unit outdoor 3\nsetting 7 65536\n", "line 2: bad value for setting value"},
      {"unit indoor 5 setpoint 22.55\n", "line 1: bad value for setpoint"},
      {"unit indoor 5 setpoint 128\n", "line 1: bad value for setpoint"},
      {"unit indoor 5 mode 16\n", "line 1: bad value for mode"},
  };
  for (const Case& c : cases) {
    adaptersim::Scenario s;
    std::string error;
    EXPECT_FALSE(parse(c.text, s, error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
}

TEST(SimulatorAdapterTest, FramesTheLibrarysPacketsAndAnswersOnlyGoodOnes) {
  adaptersim::Scenario s;
  adaptersim::Vexa5Adapter adapter(s);
  auto feed = [&](const Bytes& bytes, std::vector<adaptersim::ReceivedPacket>& packets,
                  std::vector<adaptersim::Answer>& answers) {
    for (uint8_t b : bytes) adapter.feed(b, packets, answers);
  };
  std::vector<adaptersim::ReceivedPacket> packets;
  std::vector<adaptersim::Answer> answers;
  feed({0x41, 0x02, 0x5A, 0x59, 0x03}, packets, answers);  // stray byte, poll with a bad check
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0].note, "stray byte");
  EXPECT_EQ(packets[1].note, "bad check byte");
  EXPECT_TRUE(answers.empty());

  // A bus frame holding 0x03 is framed by its own length, not at that byte.
  packets.clear();
  feed(adaptertest::packet({'S', 'D', '0', 'F', 'F', 'F', 'F'}), packets, answers);
  const Bytes frame{0xFD, 0x0F, 0xFF, 0x08, 0x04, 0xE6, 0x03, 0x03, 0x00, 0xFA};
  Bytes send{'F'};
  send.insert(send.end(), frame.begin(), frame.end());
  feed(adaptertest::packet(send), packets, answers);
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_TRUE(packets[1].good);
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_EQ(answers[1].bytes, (Bytes{0x02, 'F', 0x44, 0x03}));
  EXPECT_TRUE(answers[2].echo);
  EXPECT_EQ(answers[2].bytes, adaptersim::Vexa5Adapter::busFramePacket(frame, 0x0E));

  // A parameter request outside parameter mode is not answered.
  answers.clear();
  feed(adaptertest::packet({'B', '0', '1'}), packets, answers);
  EXPECT_TRUE(answers.empty());
  EXPECT_EQ(packets.back().note, "parameter request B-01, not in parameter mode: no answer");
}

// Reads the program's first output line within the wait.
std::string readFirstLine(int fd) {
  std::string line;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  char c = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    ssize_t n = read(fd, &c, 1);
    if (n == 1 && c == '\n') return line;
    if (n == 1) line += c;
    if (n <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return line;
}

// The program, started with these arguments, its output on a pipe.
struct RunningProgram {
  pid_t pid = 0;
  int output = -1;

  bool start(std::vector<std::string> arguments) {
    std::string program = std::string(PELOMAR_BIN_DIR) + "/adapter-sim";
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    output = out[0];
    fcntl(output, F_SETFL, O_NONBLOCK);
    return failed == 0;
  }
  // What the threads of a program that did not end were waiting in.
  std::string hang;

  // Waits for the program's end, a minute at most: a program still running
  // then is killed, so that a hang fails the test with its threads' state
  // instead of holding it until ctest's time-out.
  bool waitEnd(int& status) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        hang = threadStates();
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }
  // Ends the program; true when it ended cleanly.
  bool stop() {
    kill(pid, SIGTERM);
    int status = 0;
    bool ended = waitEnd(status);
    close(output);
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

 private:
  std::string threadStates() const {
    std::string states = "did not end; its threads wait in:";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
      std::ifstream wchan(task.path() / "wchan");
      std::string where;
      std::getline(wchan, where);
      states += " " + task.path().filename().string() + "=" + (where.empty() ? "running" : where);
    }
    return states;
  }
};

class SimulatorProgramTest : public adaptertest::AdapterTest {
 protected:
  void TearDown() override {
    unsetenv("TRAMSOLL_COM1");
    AdapterTest::TearDown();
  }
  // Opens the port on the program's slave and waits for the answer to the
  // status poll the scheduler sends.
  bool pollAnswered(const std::string& slave, int adapterType) {
    setenv("TRAMSOLL_COM1", slave.c_str(), 1);
    setSerialDeviceFactory(nullptr);
    if (!openPort(1, adapterType)) return false;
    bool plus = adapterType == kAdapterPlus;
    plus ? queuePlusStatusPoll() : queueStatusPoll();
    plus ? plusScheduler() : vexa5Scheduler();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (packetInFlight().code != 0 && std::chrono::steady_clock::now() < deadline) {
      plus ? plusDispatch() : vexa5Dispatch();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    closePort();
    return packetInFlight().code == 0 && adapterStatus.kept.size() == 1;
  }
};

TEST_F(SimulatorProgramTest, RunsStandaloneAndOffersItsSlaveThroughALink) {
  char linkTemplate[] = "/tmp/adapter-sim-linkXXXXXX";
  ASSERT_NE(mkdtemp(linkTemplate), nullptr);
  std::string link = std::string(linkTemplate) + "/com1";
  RunningProgram program;
  ASSERT_TRUE(program.start({"--link", link}));

  std::string first = readFirstLine(program.output);
  ASSERT_EQ(first.rfind("slave: /dev/", 0), 0u) << first;
  char target[PATH_MAX] = {};
  ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(std::string(target), first.substr(7));

  // The library opens the link like any serial device and is answered.
  EXPECT_TRUE(pollAnswered(link, kAdapterVexa5));
  EXPECT_TRUE(program.stop()) << program.hang;
  EXPECT_NE(access(link.c_str(), F_OK), 0) << "the link goes with the program";
  rmdir(linkTemplate);
}

TEST_F(SimulatorProgramTest, TakesTheAdapterTypeFromTheCommandLine) {
  RunningProgram program;
  ASSERT_TRUE(program.start({"--adapter", "plus", "--quiet"}));
  std::string first = readFirstLine(program.output);
  ASSERT_EQ(first.rfind("slave: /dev/", 0), 0u) << first;
  EXPECT_TRUE(pollAnswered(first.substr(7), kAdapterPlus));
  EXPECT_TRUE(program.stop()) << program.hang;

  RunningProgram refused;
  ASSERT_TRUE(refused.start({"--adapter", "modem"}));
  int status = 0;
  EXPECT_TRUE(refused.waitEnd(status)) << refused.hang;
  close(refused.output);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
}

}  // namespace

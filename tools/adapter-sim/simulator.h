// The simulated adapter (Vexa5 or Plus, as the scenario says) on a
// pseudo-terminal: answers the library's packets, lets the scenario's units
// send their bus frames in bus mode and answer the frames the library sends
// on the bus, injects faults on request and logs every packet with its time.
#pragma once

#include <termios.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "adapter_side.h"
#include "pseudo_terminal.h"
#include "scenario.h"
#include "sim_bytes.h"
#include "station_units.h"

namespace adaptersim {

struct LogEntry {
  double seconds = 0;  // since the simulator started
  char direction = '<';  // '<' from the library, '>' to it
  Bytes bytes;
  bool good = true;
  std::string note;
};

class Simulator {
 public:
  explicit Simulator(Scenario scenario);
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Opens the pseudo-terminal (and the link, when named) and starts answering.
  bool start(const std::string& linkPath, std::string& error);
  void stop();
  std::string slavePath() const { return pty_.slavePath(); }
  bool lineSettings(termios& out) const { return pty_.lineSettings(out); }

  // ---- Faults ----
  void dropAnswers(int count);        // the next adapter answers are not sent
  void withholdEchoes(int count);     // Vexa5 bus sends get no 'E' echo
  void corruptChecks(int count);      // the next answers carry a wrong check byte
  void injectBytes(const Bytes& bytes);
  void reportMode(int mode);          // in 'Z' answers; -1 the real mode
  void setAnswerDelay(int ms);
  void setSilent(bool silent);        // no answers and no bus frames
  // The same as text: "drop [n]", "withhold-echo [n]", "corrupt-check [n]",
  // "inject HH ..", "mode N|real", "delay MS", "silent on|off", "switches N".
  bool command(const std::string& line, std::string& error);

  // ---- What happened ----
  std::vector<LogEntry> log() const;
  // Packets received from the library (stray bytes and bad packets too).
  std::vector<LogEntry> received() const;
  // Waits until `count` packets were received from the library.
  bool waitForReceived(std::size_t count, std::chrono::milliseconds timeout) const;
  int mode() const;
  AdapterType adapterType() const { return scenario_.adapterType; }
  // Prints every log entry as it happens (the program's output).
  void setLogStream(std::FILE* stream);

 private:
  struct Pending {
    std::chrono::steady_clock::time_point due;
    Answer answer;
  };
  struct FrameTimer {
    std::size_t unit;
    std::size_t frame;
    std::chrono::steady_clock::time_point due;
  };

  void run();
  void readLine(std::chrono::steady_clock::time_point now);
  void letUnitsHear(const Bytes& frame, std::chrono::steady_clock::time_point now);
  void sendDue(std::chrono::steady_clock::time_point now);
  void emitUnitFrames(std::chrono::steady_clock::time_point now);
  bool pausedSender(const Bytes& frame, std::chrono::steady_clock::time_point now) const;
  void schedule(const Answer& answer, std::chrono::steady_clock::time_point now);
  void send(const Answer& answer);
  void addLog(char direction, const Bytes& bytes, bool good, const std::string& note);
  int waitMs(std::chrono::steady_clock::time_point now) const;

  Scenario scenario_;
  PseudoTerminal pty_;
  std::unique_ptr<AdapterSide> adapter_;
  StationUnits units_;
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::chrono::steady_clock::time_point started_;

  mutable std::mutex mutex_;
  mutable std::condition_variable receivedSignal_;
  std::vector<LogEntry> log_;
  std::size_t receivedCount_ = 0;
  std::deque<Pending> pending_;
  std::vector<FrameTimer> frameTimers_;
  int lastMode_ = 0;
  std::chrono::steady_clock::time_point busStart_;
  int dropCount_ = 0;
  int withholdCount_ = 0;
  int corruptCount_ = 0;
  int answerDelayMs_ = 0;
  bool silent_ = false;
  std::FILE* logStream_ = nullptr;
};

}  // namespace adaptersim

#include "simulator.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <sstream>

namespace adaptersim {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kLongestWaitMs = 20;

bool readCount(std::istringstream& words, int& value) {
  std::string word;
  if (!(words >> word)) return true;  // the count is optional
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && ptr == word.data() + word.size() && value >= 0;
}

}  // namespace

Simulator::Simulator(Scenario scenario)
    : scenario_(std::move(scenario)), adapter_(makeAdapterSide(scenario_)), units_(scenario_.units) {}

Simulator::~Simulator() { stop(); }

bool Simulator::start(const std::string& linkPath, std::string& error) {
  if (running_) return true;
  if (!pty_.open(linkPath, error)) return false;
  started_ = Clock::now();
  for (const std::string& fault : scenario_.faults) {
    if (!command(fault, error)) {
      pty_.close();
      return false;
    }
  }
  running_ = true;
  thread_ = std::thread([this] { run(); });
  return true;
}

void Simulator::stop() {
  running_ = false;
  if (thread_.joinable()) thread_.join();
  pty_.close();
}

void Simulator::run() {
  while (running_) {
    int timeout = 0;
    {
      std::lock_guard lock(mutex_);
      timeout = waitMs(Clock::now());
    }
    pollfd p{pty_.master(), POLLIN, 0};
    poll(&p, 1, timeout);
    auto now = Clock::now();
    std::lock_guard lock(mutex_);
    readLine(now);
    sendDue(now);
    emitUnitFrames(now);
  }
}

int Simulator::waitMs(Clock::time_point now) const {
  auto next = now + std::chrono::milliseconds(kLongestWaitMs);
  for (const Pending& p : pending_) next = std::min(next, p.due);
  for (const FrameTimer& t : frameTimers_) next = std::min(next, t.due);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count();
  return static_cast<int>(std::clamp<long long>(ms, 0, kLongestWaitMs));
}

void Simulator::readLine(Clock::time_point now) {
  uint8_t chunk[512];
  for (;;) {
    ssize_t n = ::read(pty_.master(), chunk, sizeof chunk);
    if (n <= 0) return;
    for (ssize_t i = 0; i < n; ++i) {
      std::vector<ReceivedPacket> packets;
      std::vector<Answer> answers;
      adapter_->feed(chunk[i], packets, answers);
      for (const ReceivedPacket& p : packets) {
        addLog('<', p.bytes, p.good, p.note);
        ++receivedCount_;
      }
      for (const Answer& a : answers) schedule(a, now);
      for (const ReceivedPacket& p : packets) letUnitsHear(p.busFrame, now);
      if (!packets.empty()) receivedSignal_.notify_all();
    }
  }
}

// A frame the library put on the bus reaches the units; their answers
// follow the adapter's echo.
void Simulator::letUnitsHear(const Bytes& frame, Clock::time_point now) {
  if (frame.empty()) return;
  int delay = scenario_.echoDelayMs + scenario_.unitDelayMs;
  for (const UnitAnswer& a : units_.hear(frame)) {
    if (pausedSender(a.frame, now)) continue;
    schedule({adapter_->unitFramePacket(a.frame, 0x00), delay, false, a.note, true}, now);
  }
}

// A pausing unit answers nobody either: the scenario unit with the
// sender's address and frame code.
bool Simulator::pausedSender(const Bytes& frame, Clock::time_point now) const {
  if (frame.size() < 2) return false;
  auto sinceBusStart = std::chrono::duration_cast<std::chrono::milliseconds>(now - busStart_).count();
  for (const ScenarioUnit& unit : scenario_.units) {
    bool same = unit.address == frame[1] && ((frameType(unit) ^ frame[0]) & 0x1C) == 0;
    if (same) return unitPaused(unit, sinceBusStart);
  }
  return false;
}

void Simulator::schedule(const Answer& answer, Clock::time_point now) {
  if (silent_) {
    addLog('>', answer.bytes, false, "silent, not sent: " + answer.note);
    return;
  }
  if (answer.echo && withholdCount_ > 0) {
    --withholdCount_;
    addLog('>', answer.bytes, false, "echo withheld");
    return;
  }
  if (!answer.echo && !answer.unitFrame && dropCount_ > 0) {
    --dropCount_;
    addLog('>', answer.bytes, false, "dropped: " + answer.note);
    return;
  }
  auto due = now + std::chrono::milliseconds(answerDelayMs_ + answer.delayMs);
  auto place = std::find_if(pending_.begin(), pending_.end(), [&](const Pending& p) { return p.due > due; });
  pending_.insert(place, Pending{due, answer});
}

void Simulator::sendDue(Clock::time_point now) {
  while (!pending_.empty() && pending_.front().due <= now) {
    Answer answer = pending_.front().answer;
    pending_.pop_front();
    send(answer);
  }
}

void Simulator::send(const Answer& answer) {
  Bytes bytes = answer.bytes;
  std::string note = answer.note;
  if (corruptCount_ > 0 && bytes.size() >= 2) {
    --corruptCount_;
    bytes[bytes.size() - 2] ^= 0x5A;
    note += ", check byte corrupted";
  }
  ssize_t n = ::write(pty_.master(), bytes.data(), bytes.size());
  if (n != static_cast<ssize_t>(bytes.size())) note += ", line full: cut short";
  addLog('>', bytes, true, note);
}

void Simulator::emitUnitFrames(Clock::time_point now) {
  int mode = adapter_->mode();
  if (mode != lastMode_) {
    frameTimers_.clear();
    if (mode == 1) {
      busStart_ = now;
      for (std::size_t u = 0; u < scenario_.units.size(); ++u) {
        for (std::size_t f = 0; f < scenario_.units[u].frames.size(); ++f) {
          const ScenarioFrame& entry = scenario_.units[u].frames[f];
          int after = entry.afterMs >= 0 ? entry.afterMs : entry.everyMs;
          frameTimers_.push_back({u, f, now + std::chrono::milliseconds(after)});
        }
      }
    }
    lastMode_ = mode;
  }
  for (FrameTimer& timer : frameTimers_) {
    if (timer.due > now) continue;
    const ScenarioUnit& unit = scenario_.units[timer.unit];
    const ScenarioFrame& entry = unit.frames[timer.frame];
    auto every = std::chrono::milliseconds(entry.everyMs);
    timer.due = std::max(timer.due + every, now);
    auto sinceBusStart = std::chrono::duration_cast<std::chrono::milliseconds>(now - busStart_).count();
    if (silent_ || unitPaused(unit, sinceBusStart)) continue;
    Answer frame{adapter_->unitFramePacket(busFrame(unit, entry), entry.status), 0, false, "bus frame", true};
    send(frame);
  }
}

void Simulator::addLog(char direction, const Bytes& bytes, bool good, const std::string& note) {
  double seconds = std::chrono::duration<double>(Clock::now() - started_).count();
  log_.push_back({seconds, direction, bytes, good, note});
  if (!logStream_) return;
  std::fprintf(logStream_, "%10.3f %c %s  %s%s\n", seconds, direction, hexText(bytes, true).c_str(),
               good ? "" : "! ", note.c_str());
  std::fflush(logStream_);
}

void Simulator::dropAnswers(int count) {
  std::lock_guard lock(mutex_);
  dropCount_ = count;
}

void Simulator::withholdEchoes(int count) {
  std::lock_guard lock(mutex_);
  withholdCount_ = count;
}

void Simulator::corruptChecks(int count) {
  std::lock_guard lock(mutex_);
  corruptCount_ = count;
}

void Simulator::injectBytes(const Bytes& bytes) {
  std::lock_guard lock(mutex_);
  send({bytes, 0, false, "injected bytes"});
}

void Simulator::reportMode(int mode) {
  std::lock_guard lock(mutex_);
  adapter_->setReportedMode(mode);
}

void Simulator::setAnswerDelay(int ms) {
  std::lock_guard lock(mutex_);
  answerDelayMs_ = std::max(0, ms);
}

void Simulator::setSilent(bool silent) {
  std::lock_guard lock(mutex_);
  silent_ = silent;
}

bool Simulator::command(const std::string& line, std::string& error) {
  std::istringstream words(line);
  std::string name;
  if (!(words >> name)) return true;
  int count = 1;
  if (name == "drop" || name == "withhold-echo" || name == "corrupt-check") {
    if (!readCount(words, count)) {
      error = "bad count in '" + line + "'";
      return false;
    }
    if (name == "drop") dropAnswers(count);
    if (name == "withhold-echo") withholdEchoes(count);
    if (name == "corrupt-check") corruptChecks(count);
    return true;
  }
  std::string argument;
  words >> argument;
  int value = 0;
  auto [ptr, ec] = std::from_chars(argument.data(), argument.data() + argument.size(), value);
  bool number = ec == std::errc() && ptr == argument.data() + argument.size() && !argument.empty();
  if (name == "mode" && (argument == "real" || number)) {
    reportMode(argument == "real" ? -1 : value);
  } else if (name == "delay" && number) {
    setAnswerDelay(value);
  } else if (name == "silent" && (argument == "on" || argument == "off")) {
    setSilent(argument == "on");
  } else if (name == "switches" && number) {
    std::lock_guard lock(mutex_);
    adapter_->setSwitches(value);
  } else if (name == "inject") {
    Bytes bytes;
    std::istringstream rest(line.substr(line.find("inject") + 6));
    if (!parseHexBytes(rest, bytes, error)) return false;
    if (running_ || pty_.master() >= 0) injectBytes(bytes);
  } else {
    error = "unknown command '" + line + "'";
    return false;
  }
  return true;
}

std::vector<LogEntry> Simulator::log() const {
  std::lock_guard lock(mutex_);
  return log_;
}

std::vector<LogEntry> Simulator::received() const {
  std::lock_guard lock(mutex_);
  std::vector<LogEntry> packets;
  for (const LogEntry& e : log_) {
    if (e.direction == '<') packets.push_back(e);
  }
  return packets;
}

bool Simulator::waitForReceived(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return receivedSignal_.wait_for(lock, timeout, [&] { return receivedCount_ >= count; });
}

int Simulator::mode() const {
  std::lock_guard lock(mutex_);
  return adapter_->mode();
}

void Simulator::setLogStream(std::FILE* stream) {
  std::lock_guard lock(mutex_);
  logStream_ = stream;
}

}  // namespace adaptersim

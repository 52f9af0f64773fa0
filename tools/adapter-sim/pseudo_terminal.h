// A pseudo-terminal pair whose slave stands for the adapter's serial port.
#pragma once

#include <termios.h>

#include <string>

namespace adaptersim {

class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // Opens the master and keeps a slave descriptor of its own, so the master
  // stays readable while the library closes and reopens the port. With a
  // link path, a symbolic link of that name points at the slave.
  bool open(const std::string& linkPath, std::string& error);
  void close();

  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }
  // The line settings the library gave the slave, read from the master side.
  bool lineSettings(termios& out) const;

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
  std::string linkPath_;
};

}  // namespace adaptersim

#include "pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace adaptersim {

PseudoTerminal::~PseudoTerminal() { close(); }

bool PseudoTerminal::open(const std::string& linkPath, std::string& error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = std::string("pseudo-terminal: ") + std::strerror(errno);
    close();
    return false;
  }
  char name[128];
  if (ptsname_r(master_, name, sizeof name) != 0) {
    error = "pseudo-terminal: no slave name";
    close();
    return false;
  }
  slavePath_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (slave_ < 0) {
    error = std::string("pseudo-terminal slave: ") + std::strerror(errno);
    close();
    return false;
  }
  // Raw from the start, so nothing is echoed before the library sets it up.
  termios t{};
  tcgetattr(slave_, &t);
  cfmakeraw(&t);
  tcsetattr(slave_, TCSANOW, &t);
  if (!linkPath.empty()) {
    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) ::unlink(linkPath.c_str());
    if (symlink(name, linkPath.c_str()) != 0) {
      error = "cannot link " + linkPath + ": " + std::strerror(errno);
      close();
      return false;
    }
    linkPath_ = linkPath;
  }
  return true;
}

void PseudoTerminal::close() {
  if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
  linkPath_.clear();
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  slave_ = master_ = -1;
}

bool PseudoTerminal::lineSettings(termios& out) const { return master_ >= 0 && tcgetattr(master_, &out) == 0; }

}  // namespace adaptersim

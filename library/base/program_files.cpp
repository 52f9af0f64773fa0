#include "base/program_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/debug_ring.h"
#include "base/regular_file.h"

namespace tramsoll {

namespace {

bool exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return i == a.size() && !b[i];
}

// The entry of `folder` whose name matches `component` ignoring case; the
// smallest in byte order when several do, so the choice does not depend on
// the order in which the folder lists them.
bool matchInFolder(const std::string& folder, const std::string& component, std::string& found) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return false;
  found.clear();
  while (const dirent* entry = ::readdir(dir)) {
    if (!equalsIgnoringCase(component, entry->d_name)) continue;
    if (found.empty() || found > entry->d_name) found = entry->d_name;
  }
  ::closedir(dir);
  return !found.empty();
}

}  // namespace

std::string programPath(const char* name) {
  std::string path = name ? name : "";
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

std::string findProgramFile(const char* name) {
  const std::string path = programPath(name);
  if (path.empty() || exists(path)) return path;
  std::string resolved = path.front() == '/' ? "/" : "";
  std::size_t start = resolved.size();
  while (start <= path.size()) {
    std::size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    std::string component = path.substr(start, slash - start);
    start = slash + 1;
    if (component.empty()) continue;
    std::string match;
    if (exists(resolved + component)) {
      match = component;
    } else if (component == "." || component == ".." || !matchInFolder(resolved, component, match)) {
      return path;
    }
    resolved += match;
    if (slash < path.size()) resolved += '/';
  }
  return resolved;
}

bool readProgramFile(const char* name, ProgramFileBytes& out) {
  out = ProgramFileBytes{};
  int fd = regularfile::open(findProgramFile(name).c_str(), O_RDONLY);
  if (fd < 0) return false;
  out.readError = !regularfile::readAll(fd, out.bytes);
  int closed = ::close(fd);
  if (closed != 0) logLine("FileHndl: fclose function error!! (ret=%Xh)", static_cast<unsigned>(closed));
  return true;
}

}  // namespace tramsoll

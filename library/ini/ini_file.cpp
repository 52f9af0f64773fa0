#include "ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string_view>
#include <vector>

#include "base/regular_file.h"

namespace inifile {

namespace {

constexpr std::size_t npos = std::string::npos;

struct Line {
  std::string text;  // without its line end
  std::string end;   // "\r\n", "\n", or "" for a last line without one
};

enum class ReadResult { Read, Missing, Refused };

// The file as it stood when it was opened, read no further than its length
// then. Refused: a file that is there but cannot be read, or is no regular
// file (a FIFO would block, a device never end).
ReadResult readWholeFile(const std::string& path, std::string& content) {
  int fd = regularfile::open(path.c_str(), O_RDONLY);
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Refused;
  bool read = regularfile::readAll(fd, content);
  ::close(fd);
  return read ? ReadResult::Read : ReadResult::Refused;
}

std::vector<Line> splitLines(const std::string& content) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t lf = content.find('\n', start);
    if (lf == npos) {
      lines.push_back({content.substr(start), ""});
      break;
    }
    bool crlf = lf > start && content[lf - 1] == '\r';
    std::size_t textEnd = crlf ? lf - 1 : lf;
    lines.push_back({content.substr(start, textEnd - start), crlf ? "\r\n" : "\n"});
    start = lf + 1;
  }
  return lines;
}

std::string_view trim(std::string_view text) {
  const char* blanks = " \t\r\f\v";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == npos) return {};
  std::size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// The text of a line as the reader sees it: a byte-order mark in front of the
// first line is not part of the text.
std::string_view lineText(const std::vector<Line>& lines, std::size_t i) {
  std::string_view text = lines[i].text;
  if (i == 0 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return trim(text);
}

bool isSectionHeader(std::string_view text, std::string_view& name) {
  if (text.empty() || text.front() != '[') return false;
  std::size_t close = text.find(']');
  if (close == npos) return false;
  name = trim(text.substr(1, close - 1));
  return true;
}

bool isKeyLine(std::string_view text, std::string_view& key, std::string_view& value) {
  if (text.empty() || text.front() == ';' || text.front() == '[') return false;
  std::size_t eq = text.find('=');
  if (eq == npos) return false;
  key = trim(text.substr(0, eq));
  value = trim(text.substr(eq + 1));
  return true;
}

// Where a key lives, or where it would go.
struct Place {
  bool sectionFound = false;
  std::size_t keyLine = npos;
  std::size_t insertAt = npos;  // after the section's last non-blank line
};

Place locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Place place;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view text = lineText(lines, i);
    std::string_view name, k, v;
    if (isSectionHeader(text, name)) {
      if (place.sectionFound) break;  // only the first section of that name counts
      inSection = equalsIgnoringCase(name, section);
      if (inSection) {
        place.sectionFound = true;
        place.insertAt = i + 1;
      }
      continue;
    }
    if (!inSection || text.empty()) continue;
    place.insertAt = i + 1;
    if (isKeyLine(text, k, v) && equalsIgnoringCase(k, key)) {
      place.keyLine = i;
      break;
    }
  }
  return place;
}

std::string_view unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

int32_t leadingInteger(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<int64_t>(INT32_MAX) + 1) value = static_cast<int64_t>(INT32_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<int32_t>(value);
}

bool writesAsOneLine(std::string_view text) { return text.find_first_of("\r\n") == npos; }

bool writeAll(int fd, const std::string& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes the new contents beside the file and renames them over it.
bool replaceFile(const std::string& path, const std::string& content) {
  std::string pattern = path + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) return false;
  struct stat old {};
  ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  bool ok = writeAll(fd, content) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && std::rename(name.data(), path.c_str()) == 0;
  if (!ok) std::remove(name.data());
  return ok;
}

std::string joinLines(const std::vector<Line>& lines) {
  std::string content;
  for (const Line& line : lines) content += line.text + line.end;
  return content;
}

}  // namespace

std::string readString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& fallback) {
  std::string content;
  if (readWholeFile(path, content) != ReadResult::Read) return fallback;
  std::vector<Line> lines = splitLines(content);
  Place place = locate(lines, section, key);
  if (place.keyLine == npos) return fallback;
  std::string_view k, value;
  isKeyLine(lineText(lines, place.keyLine), k, value);
  return std::string(unquote(value));
}

int32_t readInt(const std::string& path, const std::string& section, const std::string& key, int32_t fallback) {
  const std::string missing = "\n";  // no line can hold a line feed
  std::string value = readString(path, section, key, missing);
  if (value == missing) return fallback;
  return leadingInteger(value);
}

bool writeString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) {
  std::string_view cleanKey = trim(key);
  std::string_view cleanSection = trim(section);
  if (cleanKey.empty() || cleanKey.find('=') != npos || cleanKey.front() == ';' || cleanKey.front() == '[')
    return false;
  if (cleanSection.find(']') != npos)
    return false;
  if (!writesAsOneLine(key) || !writesAsOneLine(section) || !writesAsOneLine(value)) return false;

  std::string content;
  // A missing file is written new; one that cannot be read is left alone.
  if (readWholeFile(path, content) == ReadResult::Refused) return false;
  std::vector<Line> lines = splitLines(content);
  const std::string eol = content.find("\r\n") != npos ? "\r\n" : "\n";
  Place place = locate(lines, cleanSection, cleanKey);

  if (place.keyLine != npos) {
    std::string_view oldKey, oldValue;
    isKeyLine(lineText(lines, place.keyLine), oldKey, oldValue);
    lines[place.keyLine].text = std::string(oldKey) + "=" + value;
  } else {
    Line keyLine{std::string(cleanKey) + "=" + value, eol};
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = eol;
    if (place.sectionFound) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(place.insertAt), keyLine);
    } else {
      lines.push_back({"[" + std::string(cleanSection) + "]", eol});
      lines.push_back(keyLine);
    }
  }
  return replaceFile(path, joinLines(lines));
}

bool writeInt(const std::string& path, const std::string& section, const std::string& key, int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  return writeString(path, section, key, text);
}

}  // namespace inifile

// scramble: turns a plain-text source into the scrambled file the library
// reads, or (with --decode) a scrambled file back into plain text.
//
//   scramble <plain> <scrambled>            LF line ends become CR LF
//   scramble --decode <scrambled> <plain>   CR LF line ends become LF
//
// Sources are kept with LF line ends; the files the library reads end their
// lines with CR LF. Lines that already end with CR LF are left as they are.
#include <cstdio>
#include <cstring>
#include <string>

#include "tables/scrambled.h"

namespace {

bool readFile(const char* path, std::string& content) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) content.append(chunk, n);
  bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

bool writeFile(const char* path, const std::string& content) {
  std::FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  return std::fclose(file) == 0 && ok;
}

std::string withCrLf(const std::string& plain) {
  std::string out;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (plain[i] == '\n' && (i == 0 || plain[i - 1] != '\r')) out += '\r';
    out += plain[i];
  }
  return out;
}

std::string withLf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::string applyByteRule(std::string bytes) {
  for (char& c : bytes) c = static_cast<char>(tramsoll::scrambleByte(static_cast<uint8_t>(c)));
  return bytes;
}

int usage() {
  std::fprintf(stderr,
               "usage: scramble <plain> <scrambled>\n"
               "       scramble --decode <scrambled> <plain>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool decode = argc == 4 && std::strcmp(argv[1], "--decode") == 0;
  if (argc != 3 && !decode) return usage();
  const char* input = argv[argc - 2];
  const char* output = argv[argc - 1];
  std::string content;
  if (!readFile(input, content)) {
    std::fprintf(stderr, "scramble: cannot read %s\n", input);
    return 1;
  }
  std::string result = decode ? withLf(applyByteRule(content)) : applyByteRule(withCrLf(content));
  if (!writeFile(output, result)) {
    std::fprintf(stderr, "scramble: cannot write %s\n", output);
    return 1;
  }
  return 0;
}

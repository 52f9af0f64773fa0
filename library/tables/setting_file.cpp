#include "tables/setting_file.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/caller_values.h"
#include "base/debug_ring.h"
#include "base/program_files.h"
#include "base/status_words.h"
#include "tables/all_tables.h"
#include "tables/setting_tables.h"

namespace tramsoll {

namespace {

constexpr const char kSettingFile[] = "vexa5.set";
constexpr int kReasonSize = 128;

// Why a row was refused; some reasons are named only in check mode, and the
// logged line then carries an empty reason.
struct Reason {
  char text[kReasonSize] = "";
  bool refuse(bool fill, const char* format, ...) __attribute__((format(printf, 3, 4)));
};

bool Reason::refuse(bool fill, const char* format, ...) {
  if (!fill) return false;
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return false;
}

bool longerThan(const Fields& f, int index, std::size_t limit) {
  return f.cutField[index] || std::strlen(f[index]) > limit;
}

// Model name (field 1) and item file (field 2) within their fields.
bool namesFit(const Fields& f, bool fillReason, Reason& reason) {
  if (longerThan(f, 1, kModelNameSize - 1))
    return reason.refuse(fillReason, "Model name over %d bytes", kModelNameSize);
  if (longerThan(f, 2, kItemFileSize - 1))
    return reason.refuse(fillReason, "File name over %d bytes", kItemFileSize);
  return true;
}

template <std::size_t N>
void copyField(char (&out)[N], const char* text) {
  copyText(out, static_cast<int32_t>(N), text);
}

struct KindName {
  const char* word;
  uint8_t kind;
};

// The kind that field 0 names, compared exactly in table order.
template <std::size_t N>
bool kindOf(const KindName (&names)[N], const char* word, uint8_t& kind) {
  for (const KindName& n : names) {
    if (std::strcmp(word, n.word) != 0) continue;
    kind = n.kind;
    return true;
  }
  return false;
}

// ---- "D" rows: models seen on the Q7 bus ----

constexpr KindName kConnectionKinds[] = {
    {"DO", connect::kDO},     {"DOK", connect::kDOK},   {"DOU", connect::kDOU},
    {"DOE", connect::kDOE},   {"DI", connect::kDI},     {"DC", connect::kDC},
    {"DONP", connect::kDONP}, {"DONC", connect::kDONC}, {"DIZ", connect::kDIZ},
};

// Field 3 of a bus row: the patterns and numbers the model is recognised by.
// A pattern that ends early is kept with the bits of the characters present.
bool readRecognition(const char* text, SettingQ7Row& row, Reason& reason) {
  int32_t pos = 0;
  uint32_t value = 0, mask = 0;
  auto separator = [&](char expected) {
    if (text[pos] != expected) return false;
    ++pos;
    return true;
  };
  auto refuse = [&](bool fill) { return reason.refuse(fill, "Error \"%s\"", text); };

  if (row.connectionKind == connect::kDC) {
    parseBitPattern(text, pos, 8, value, mask);
    row.centralValue = static_cast<uint8_t>(value);
    row.centralMask = static_cast<uint8_t>(mask);
    if (!separator('/')) return refuse(true);
    parseBitPattern(text, pos, 16, value, mask);
    row.longValue = static_cast<uint16_t>(value);
    row.longMask = static_cast<uint16_t>(mask);
    return true;
  }

  parseBitPattern(text, pos, 16, value, mask);
  row.longValue = static_cast<uint16_t>(value);
  row.longMask = static_cast<uint16_t>(mask);
  const uint8_t kind = row.connectionKind;
  if (kind == connect::kDO || kind == connect::kDI || kind == connect::kDIZ) return true;

  // DOK names its first two separators only when checking the file.
  const bool fillFirst = kind != connect::kDOK || checkMode;
  if (!separator('/')) return refuse(fillFirst);
  row.firstNumber = static_cast<uint8_t>(parseHex(text, pos));
  if (!separator('[')) return refuse(fillFirst);
  row.secondNumber = static_cast<uint8_t>(parseHex(text, pos));
  if (!separator(']') || !separator('/')) return refuse(true);
  parseBitPattern(text, pos, 8, value, mask);
  row.shortValue = static_cast<uint8_t>(value);
  row.shortMask = static_cast<uint8_t>(mask);
  return true;
}

constexpr int kFirstOtherName = 4;

bool readQ7Row(const Fields& f, Reason& reason) {
  if (!namesFit(f, checkMode, reason)) return false;
  SettingQ7Row row{};
  if (!kindOf(kConnectionKinds, f[0], row.connectionKind))
    return reason.refuse(true, "Unknown Conect-Type \"%s\"", f[0]);
  if (!readRecognition(f[3], row, reason)) return false;
  for (int i = 0; i < kOtherNameCount; ++i) {
    if (longerThan(f, kFirstOtherName + i, kModelNameSize - 1))
      return reason.refuse(true, "Model name over %d bytes", kModelNameSize);
    copyField(row.otherNames[i], f[kFirstOtherName + i]);
  }
  if (f[kFirstOtherName + kOtherNameCount][0] || f.tooManyFields)
    return reason.refuse(true, "Model name over %d", kModelNameSize);
  copyField(row.modelName, f[1]);
  copyField(row.itemFile, f[2]);
  addSettingQ7(row);  // a model already listed keeps its first row
  return true;
}

// ---- "L" and "P" rows: the sensor-input logger and one-system models ----

bool readModelRow(const Fields& f, uint8_t kind, Reason& reason) {
  if (!namesFit(f, true, reason)) return false;
  SettingModelRow row{};
  row.rowKind = kind;
  copyField(row.modelName, f[1]);
  copyField(row.itemFile, f[2]);
  if (kind == rowkind::kLog)
    addSettingLog(row);  // a second logger row is ignored
  else
    addSettingPara(row);
  return true;
}

// ---- "S" rows: one unit over a board connection ----

constexpr KindName kBoardKinds[] = {
    {"SL", rowkind::kSL}, {"SR", rowkind::kSR}, {"SX", rowkind::kSX}, {"SK", rowkind::kSK},
    {"SQ", rowkind::kSQ}, {"SH", rowkind::kSH}, {"SA", rowkind::kSA},
};

// Walks the line-settings text of an "S" row, one expected piece at a time.
struct LineSettingsReader {
  const char* p;

  bool letter(char expected) {
    if (*p != expected) return false;
    ++p;
    return true;
  }
  // One of `choices`; answers the matching code from `codes`.
  bool oneOf(const char* choices, const char* codes, char& out) {
    const char* hit = *p ? std::strchr(choices, *p) : nullptr;
    if (!hit) return false;
    out = codes[hit - choices];
    ++p;
    return true;
  }
  template <std::size_t N>
  bool any(char (&out)[N]) {
    for (std::size_t i = 0; i + 1 < N; ++i) {
      if (!p[i]) return false;
      out[i] = p[i];
    }
    out[N - 1] = '\0';
    p += N - 1;
    return true;
  }
  bool speed(char& code) {
    static const char* const speeds[] = {"0300", "0600", "1200", "2400", "4800", "9600"};
    for (int i = 0; i < 6; ++i) {
      if (std::strncmp(p, speeds[i], 4) != 0) continue;
      code = static_cast<char>('1' + i);
      p += 4;
      return true;
    }
    return false;
  }
};

// "B9600C8PES1/S01T0100K02": speed, data bits, parity, stop bits, then the
// S, T and K texts as written. Anything after them is ignored.
bool readLineSettings(const char* text, SettingSeriRow& row) {
  LineSettingsReader r{text};
  return r.letter('B') && r.speed(row.speedCode) && r.letter('C') && r.oneOf("78", "78", row.dataBits) &&
         r.letter('P') && r.oneOf("NOE", "012", row.parityCode) && r.letter('S') &&
         r.oneOf("12", "12", row.stopBits) && r.letter('/') && r.letter('S') && r.any(row.sText) &&
         r.letter('T') && r.any(row.tText) && r.letter('K') && r.any(row.kText);
}

bool readSeriRow(const Fields& f, Reason& reason) {
  SettingSeriRow row{};
  if (!kindOf(kBoardKinds, f[0], row.rowKind)) return reason.refuse(true, "Unknown Type \"%s\"", f[0]);
  if (!namesFit(f, true, reason)) return false;
  if (!readLineSettings(f[3], row)) return reason.refuse(true, "Error \"%s\"", f[3]);
  copyField(row.modelName, f[1]);
  copyField(row.itemFile, f[2]);
  addSettingSeri(row);  // a model already listed keeps its first row
  return true;
}

// ---- Keys ----

int32_t decimalText(const char* text) {
  int32_t pos = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  uint32_t value = parseDecimal(text, pos);
  return static_cast<int32_t>(text[0] == '-' ? 0u - value : value);
}

// A password longer than its field is cut; the file still loads, but the
// engineer learns why the password may not be the one written.
void readPasswordRow(const Fields& f, int lineNumber) {
  if (longerThan(f, 1, kPasswordSize - 1))
    logLine("KtbError: %s(%d) Password over %d bytes", kSettingFile, lineNumber, kPasswordSize);
  keepPassword(f[1]);
}

// One content row; false when it was refused.
bool readRow(const Fields& f, int lineNumber) {
  if (std::strcmp(f[0], "VER") == 0) return true;
  if (std::strcmp(f[0], "MODE") == 0) {
    keepControlMode(decimalText(f[1]));
    return true;
  }
  if (std::strcmp(f[0], "PASSWORD") == 0) {
    readPasswordRow(f, lineNumber);
    return true;
  }
  Reason reason;
  bool accepted = false;
  switch (f[0][0]) {
    case 'L': accepted = readModelRow(f, rowkind::kLog, reason); break;
    case 'D': accepted = readQ7Row(f, reason); break;
    case 'P': accepted = readModelRow(f, rowkind::kPara, reason); break;
    case 'S': accepted = readSeriRow(f, reason); break;
    default:
      logLine("KtbError: %s(%d) error \"%s\"", kSettingFile, lineNumber, f[0]);
      return false;
  }
  if (accepted) return true;
  setBits(errFault, fault::kTableLoad);
  logLine("KtbError: %s(%d) %s", kSettingFile, lineNumber, reason.text);
  return false;
}

}  // namespace

bool loadSettingFile() {
  ProgramFileBytes file;
  if (!readProgramFile(kSettingFile, file)) {
    logLine("KtbError: can't open \"%s\" file!!", kSettingFile);
    setBits(errFault, fault::kTableLoad);
    return false;
  }
  ScrambledText text(file.bytes, file.readError);
  return readSettingRows(text);
}

bool readSettingRows(ScrambledText& text) {
  keepPassword("");
  bool result = true;
  auto lineOver = [&result](int number) {
    logLine("KtbError: %s(%d) line over %d char", kSettingFile, number, kMaxLine);
    result = false;  // the reader has set the table-load bit
    return true;     // the line's first bytes are still a row
  };
  readTableLines(text, lineOver, [&result](const Fields& fields, int number) {
    if (!readRow(fields, number)) result = false;
  });
  return result;
}

bool readVersionRow(Fields& fields) {
  ProgramFileBytes file;
  if (!readProgramFile(kSettingFile, file)) return false;
  ScrambledText text(file.bytes, file.readError);
  char line[kMaxLine + 1];
  bool found = false;
  for (;;) {
    LineResult read = readScrambledLine(text, line);
    if (read == LineResult::EndOfFile) break;
    if (read == LineResult::LineOver) continue;  // the reader has set the table-load bit
    if (splitFields(line, fields) && std::strcmp(fields[0], "VER") == 0) {
      found = true;
      break;
    }
  }
  return found;
}

}  // namespace tramsoll

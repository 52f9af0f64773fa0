#include "frame/library/library_text.h"

namespace {

bool isContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Bytes of the sequence a lead byte begins (1 for a byte that leads none).
int sequenceLength(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  if (byte >= 0xF0 && byte <= 0xF7) return 4;
  if (byte >= 0xE0) return 3;
  if (byte >= 0xC0) return 2;
  return 1;
}

// `used` without a last character whose bytes do not all lie within it.
int withoutCutCharacter(const char* bytes, int used) {
  int lead = used - 1;
  while (lead >= 0 && used - lead < 4 && isContinuation(bytes[lead])) --lead;
  if (lead < 0 || isContinuation(bytes[lead])) return used;  // stray bytes, not a cut character
  return used - lead < sequenceLength(bytes[lead]) ? lead : used;
}

}  // namespace

QString textFromLibrary(const char* buffer, int32_t length, int capacity) {
  if (!buffer || length <= 0 || capacity <= 0) return QString();
  if (length > capacity) length = capacity;
  // The library terminates its texts; never read past a terminator.
  int used = 0;
  while (used < length && buffer[used] != '\0') ++used;
  return QString::fromUtf8(buffer, withoutCutCharacter(buffer, used));
}

QByteArray textForLibrary(const QString& text, int byteLimit) {
  QByteArray bytes = text.toUtf8();
  if (byteLimit < 0 || bytes.size() <= byteLimit) return bytes;
  int end = byteLimit;
  while (end > 0 && isContinuation(bytes[end])) --end;
  bytes.truncate(end);
  return bytes;
}

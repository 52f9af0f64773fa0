#include "map/library_text.h"

namespace {

bool isContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

QByteArray cutToField(const QString& text, int fieldBytes) {
  QByteArray bytes = text.toUtf8();
  const qsizetype room = fieldBytes > 1 ? fieldBytes - 1 : 0;
  if (bytes.size() <= room) return bytes;
  // bytes[room] is the first byte left out; while it continues a character,
  // that character starts inside the field and must go too.
  qsizetype cut = room;
  while (cut > 0 && isContinuationByte(bytes[cut])) --cut;
  bytes.truncate(cut);
  return bytes;
}

QByteArray textForField(const QString& text, int fieldBytes) {
  if (text.isEmpty()) return QByteArrayLiteral(" ");
  return cutToField(text, fieldBytes);
}

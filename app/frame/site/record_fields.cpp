#include "frame/site/record_fields.h"

#include <QStringDecoder>
#include <QStringList>

#include <charconv>
#include <utility>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// A field's bytes as text. Only the file's own byte-order mark is skipped
// (by the constructor); a U+FEFF that begins a field is part of its text.
QString fieldText(const QByteArray& bytes) {
  QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  return decode(bytes);
}

}  // namespace

FieldReader::FieldReader(QByteArray bytes) : bytes_(std::move(bytes)) {
  if (bytes_.startsWith("\xEF\xBB\xBF")) at_ = 3;
}

void FieldReader::skipLineEnd() {
  // CR LF, or a lone LF or CR.
  if (at_ < bytes_.size() && bytes_[at_] == '\r') ++at_;
  if (at_ < bytes_.size() && bytes_[at_] == '\n') ++at_;
  ++currentLine_;
}

void FieldReader::skipBlanksAndLineEnds() {
  while (at_ < bytes_.size()) {
    const char c = bytes_[at_];
    if (isBlank(c)) {
      ++at_;
    } else if (isLineEnd(c)) {
      skipLineEnd();
    } else {
      return;
    }
  }
}

bool FieldReader::atEnd() {
  if (afterComma_) return false;  // a comma always promises one more field
  skipBlanksAndLineEnds();
  return at_ >= bytes_.size();
}

int FieldReader::linesLeft() {
  if (atEnd()) return 0;
  int breaks = 0;
  for (int i = at_; i < bytes_.size(); ++i) {
    const char c = bytes_[i];
    const bool crBeforeLf = c == '\r' && i + 1 < bytes_.size() && bytes_[i + 1] == '\n';
    if (isLineEnd(c) && !crBeforeLf) ++breaks;
  }
  return isLineEnd(bytes_.back()) ? breaks : breaks + 1;
}

// After a field: past its comma, or past the line end that closed it.
void FieldReader::finishField() {
  while (at_ < bytes_.size() && isBlank(bytes_[at_])) ++at_;
  if (at_ >= bytes_.size()) {
    if (cut_ == FieldCut::None) cut_ = FieldCut::Record;
    return;
  }
  if (bytes_[at_] == ',') {
    ++at_;
    afterComma_ = true;
  } else if (isLineEnd(bytes_[at_])) {
    skipLineEnd();
  } else {
    // Stray characters after a closing quote belong to no field.
    while (at_ < bytes_.size() && bytes_[at_] != ',' && !isLineEnd(bytes_[at_])) ++at_;
    finishField();
  }
}

// "29," at the end of a line: the comma ends field 29 and opens an empty
// one, which the line end closes.
bool FieldReader::takeEmptyFieldAfterComma() {
  if (!afterComma_) return false;
  afterComma_ = false;
  while (at_ < bytes_.size() && isBlank(bytes_[at_])) ++at_;
  if (at_ < bytes_.size() && !isLineEnd(bytes_[at_])) return false;
  fieldLine_ = currentLine_;
  if (at_ < bytes_.size()) {
    skipLineEnd();
  } else {
    cut_ = FieldCut::Record;
  }
  return true;
}

bool FieldReader::readField(QString& field) {
  field.clear();
  cut_ = FieldCut::None;
  if (takeEmptyFieldAfterComma()) return true;
  if (atEnd()) return false;
  fieldLine_ = currentLine_;
  const int start = at_;
  if (bytes_[at_] == '"') {
    const int close = bytes_.indexOf('"', at_ + 1);
    const int end = close < 0 ? bytes_.size() : close;
    const QByteArray text = bytes_.mid(at_ + 1, end - at_ - 1);
    currentLine_ += static_cast<int>(text.count('\n'));
    field = fieldText(text);
    at_ = close < 0 ? bytes_.size() : close + 1;
    if (close < 0) cut_ = FieldCut::QuotedText;
  } else {
    while (at_ < bytes_.size() && bytes_[at_] != ',' && !isLineEnd(bytes_[at_])) ++at_;
    field = fieldText(bytes_.mid(start, at_ - start));
  }
  finishField();
  return true;
}

bool parseWholeNumber(const QString& text, int32_t& value) {
  const QByteArray digits = text.trimmed().toLatin1();
  const char* begin = digits.constData();
  const char* end = begin + digits.size();
  if (begin != end && *begin == '+') ++begin;
  if (begin == end) return false;
  int32_t parsed = 0;
  const auto [stop, error] = std::from_chars(begin, end, parsed);
  if (error != std::errc() || stop != end) return false;
  value = parsed;
  return true;
}

QString ReadFault::text() const {
  return line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(reason) : reason;
}

bool RecordReader::failAtLine(int line, const QString& why) {
  fault_ = {line, why};
  return false;
}

bool RecordReader::failAt(const QString& why) { return failAtLine(in_.line(), why); }

bool RecordReader::text(QString& value) {
  if (!in_.readField(value)) return failAtLine(in_.nextLine(), QStringLiteral("the file ends early"));
  switch (in_.cut()) {
    case FieldCut::None: return true;
    case FieldCut::Record: return failAt(QStringLiteral("the file ends early, inside a record"));
    case FieldCut::QuotedText: return failAt(QStringLiteral("the file ends early, inside a quoted text"));
  }
  return true;
}

bool RecordReader::number(int32_t& value, const char* what) {
  QString field;
  if (!text(field)) return false;
  if (parseWholeNumber(field, value)) return true;
  return failAt(QStringLiteral("%1 \"%2\" is not a number").arg(QLatin1String(what), printableExcerpt(field.toUtf8(), 20)));
}

bool RecordReader::count(int32_t& value, const char* what) {
  if (!number(value, what)) return false;
  if (value >= 0 && value <= in_.linesLeft()) return true;
  return failAt(QStringLiteral("%1 %2 is impossible").arg(QLatin1String(what)).arg(value));
}

QByteArray lineOfText(const QByteArray& bytes, int line) {
  int start = 0;
  for (int at = 1; at < line; ++at) {
    while (start < bytes.size() && !isLineEnd(bytes[start])) ++start;
    if (start >= bytes.size()) return QByteArray();
    if (bytes[start] == '\r' && start + 1 < bytes.size() && bytes[start + 1] == '\n') ++start;
    ++start;
  }
  int end = start;
  while (end < bytes.size() && !isLineEnd(bytes[end])) ++end;
  return bytes.mid(start, end - start);
}

namespace {

// Bytes of the UTF-8 sequence a lead byte opens; 0 for a byte that opens
// none.
int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The character at `at` as shown, and how many bytes it takes.
QString shownCharacter(const QByteArray& bytes, int at, int& taken) {
  const auto byte = static_cast<unsigned char>(bytes[at]);
  const int length = sequenceLength(byte);
  taken = 1;
  if (byte == '\r') return QStringLiteral("\\r");
  if (byte == '\n') return QStringLiteral("\\n");
  if (byte == '\t') return QStringLiteral("\\t");
  const QString escaped = QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
  if (length == 0 || at + length > bytes.size()) return escaped;
  const QString decoded = QString::fromUtf8(bytes.mid(at, length));
  const bool replaced = decoded.contains(QChar::ReplacementCharacter);
  if (replaced || decoded.isEmpty() || decoded[0].category() == QChar::Other_Control) return escaped;
  taken = length;
  return decoded;
}

}  // namespace

QString printableExcerpt(const QByteArray& bytes, int maxLength) {
  QStringList shown;
  qsizetype length = 0;
  // Once the excerpt is known to be cut, the rest of a long text is not looked at.
  for (int at = 0; at < bytes.size() && length <= maxLength;) {
    int taken = 1;
    shown << shownCharacter(bytes, at, taken);
    length += shown.back().size();
    at += taken;
  }
  if (length <= maxLength) return shown.join(QString());
  const QString more = QStringLiteral("...");
  QString cut;
  for (const QString& character : shown) {
    if (cut.size() + character.size() > maxLength - more.size()) break;
    cut += character;
  }
  return cut + more;
}

void RecordWriter::separate() {
  if (lineStarted_) bytes_.append(',');
  lineStarted_ = true;
}

RecordWriter& RecordWriter::text(const QString& value) {
  separate();
  QString safe = value;
  safe.replace(QLatin1Char('"'), QLatin1Char('\''));
  bytes_.append('"').append(safe.toUtf8()).append('"');
  return *this;
}

RecordWriter& RecordWriter::number(int32_t value) {
  separate();
  bytes_.append(QByteArray::number(value));
  return *this;
}

RecordWriter& RecordWriter::endRecord() {
  bytes_.append("\r\n");
  lineStarted_ = false;
  return *this;
}

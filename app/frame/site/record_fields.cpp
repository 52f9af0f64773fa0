#include "frame/site/record_fields.h"

#include <QStringDecoder>

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
  if (at_ >= bytes_.size()) return;
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
  if (at_ < bytes_.size()) skipLineEnd();
  return true;
}

bool FieldReader::readField(QString& field) {
  field.clear();
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

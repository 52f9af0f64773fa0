// The comma-separated record form of the program's own text files
// (Lang.ini, pelomar3.dam, <id>.dak, DebugMessage.txt): texts in double
// quotes, numbers in plain decimal, one record a line ended by CR LF, the
// bytes UTF-8.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// How the end of the text cut the field read last.
enum class FieldCut { None, Record, QuotedText };

// Reads fields one at a time. Leading blanks of a field are skipped, and so
// are empty lines; a quoted field runs to its closing quote (commas and line
// ends inside belong to it), an unquoted one to the next comma or line end.
class FieldReader {
 public:
  // A UTF-8 byte-order mark at the start is skipped.
  explicit FieldReader(QByteArray bytes);

  // False when no field is left (only blanks and line ends remain).
  bool readField(QString& field);
  bool atEnd();
  // Line of the field read last, from 1.
  int line() const { return fieldLine_; }
  // The line reading has come to: where a field that is not there was due.
  int nextLine() const { return currentLine_; }
  // Whether the end of the text cut the field read last: inside its quotes,
  // or before the line end that closes every record.
  FieldCut cut() const { return cut_; }
  // Lines that still hold something, counted from the read position; a
  // count read from the file cannot be larger than this.
  int linesLeft();

 private:
  void skipBlanksAndLineEnds();
  void skipLineEnd();
  void finishField();
  bool takeEmptyFieldAfterComma();

  QByteArray bytes_;
  int at_ = 0;
  int currentLine_ = 1;
  int fieldLine_ = 0;
  bool afterComma_ = false;
  FieldCut cut_ = FieldCut::None;
};

// Why and where a file failed to read; line 0 when no line is to blame.
struct ReadFault {
  int line = 0;
  QString reason;
  // "line 3: reason".
  QString text() const;
};

// Reads a file the program wrote itself, where every field is due: a
// field that is missing, not a number or cut by the end of the file is a
// fault, which is kept with its line.
class RecordReader {
 public:
  RecordReader(QByteArray bytes, ReadFault& fault) : in_(std::move(bytes)), fault_(fault) {}

  bool text(QString& value);
  bool number(int32_t& value, const char* what);
  // A count of items that each take at least one line of what is left.
  bool count(int32_t& value, const char* what);
  // Whether another field follows.
  bool more() { return !in_.atEnd(); }
  // Fails at the line of the field read last.
  bool failAt(const QString& why);

 private:
  bool failAtLine(int line, const QString& why);

  FieldReader in_;
  ReadFault& fault_;
};

// At most `maxLength` characters of `bytes` that can be shown: control
// characters and bytes that are not UTF-8 as escapes (\r, \n, \t, \xNN),
// "..." where the text was cut.
QString printableExcerpt(const QByteArray& bytes, int maxLength = 40);
// The bytes of line `line` (from 1) without its line end, lines ended by
// CR LF, LF or CR; empty past the last line.
QByteArray lineOfText(const QByteArray& bytes, int line);

// A whole decimal number with an optional sign and outer blanks, within 32
// bits; false for anything else.
bool parseWholeNumber(const QString& text, int32_t& value);

// Builds records: each field is appended to the current line.
class RecordWriter {
 public:
  // Quoted; a double quote inside would end the field early on reading, so it
  // is written as a single quote.
  RecordWriter& text(const QString& value);
  RecordWriter& number(int32_t value);
  // Ends the record with CR LF.
  RecordWriter& endRecord();
  const QByteArray& bytes() const { return bytes_; }

 private:
  void separate();

  QByteArray bytes_;
  bool lineStarted_ = false;
};

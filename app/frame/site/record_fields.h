// The comma-separated record form of the program's own text files
// (Lang.ini, pelomar3.dam, <id>.dak, DebugMessage.txt): texts in double
// quotes, numbers in plain decimal, one record a line ended by CR LF, the
// bytes UTF-8.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

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
};

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

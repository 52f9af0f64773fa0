// The settings store's text: Qt's INI format, as the store has always been
// written ("[Section]" headers, "key=value" lines, values quoted when they
// hold a comma, a semicolon, an equals sign or blanks at an end, with
// backslash escapes and UTF-8 text). The document is parsed from bytes the
// caller has read, so the caller alone decides how the file is opened.
// Sections and keys are found by their exact name first, else without
// regard to case. An entry that is not set keeps its bytes as they were.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class IniDocument {
 public:
  // Lines that are neither a section header nor hold a "=" are left out,
  // as are comments (";" to the end of the line).
  static IniDocument parse(const QByteArray& text);
  QByteArray text() const;

  // The value's text, a list of values (commas outside quotes) joined by
  // ","; nullopt when the section or key is missing.
  std::optional<QString> value(const QString& section, const QString& key) const;
  // Sets the value under the key's stored spelling, or adds the key (and
  // the section) under the spelling given.
  void setValue(const QString& section, const QString& key, const QString& value);

 private:
  struct Entry {
    QString key;
    QByteArray rawKey;
    QByteArray rawValue;
  };
  struct Section {
    QString name;  // "" for the keys of [General]
    std::vector<Entry> entries;
  };

  Section& addSection(const QString& name);

  std::vector<Section> sections_;
};

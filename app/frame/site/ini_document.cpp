#include "frame/site/ini_document.h"

#include <QByteArrayView>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// One line of the text, and the place of its first "=" outside quotes
// (-1 when none).
struct IniLine {
  QByteArrayView text;
  qsizetype equals = -1;
};

// The next line from `position` on: it ends at a line break or a ";"
// outside quotes, not escaped by a backslash; a quoted value may span line
// breaks. Blank lines and lines starting with ";" are passed over. False
// at the end of the text.
bool nextLine(QByteArrayView data, qsizetype& position, IniLine& line) {
  const qsizetype size = data.size();
  qsizetype start = position;
  while (start < size && isBlank(data[start])) ++start;
  qsizetype equals = -1;
  bool inQuotes = false;
  qsizetype i = start;
  while (i < size) {
    const char c = data[i++];
    if (c == '=') {
      if (!inQuotes && equals < 0) equals = i - 1;
    } else if (c == '\n' || c == '\r') {
      if (i == start + 1) {
        ++start;
      } else if (!inQuotes) {
        --i;
        break;
      }
    } else if (c == '\\') {
      if (i < size) {
        const char escaped = data[i++];
        // A backslash before a two-character line break escapes both.
        if (i < size && ((escaped == '\n' && data[i] == '\r') || (escaped == '\r' && data[i] == '\n'))) ++i;
      }
    } else if (c == '"') {
      inQuotes = !inQuotes;
    } else if (c == ';') {
      if (i == start + 1) {  // a comment line
        while (i < size && data[i] != '\n' && data[i] != '\r') ++i;
        while (i < size && isBlank(data[i])) ++i;
        start = i;
      } else if (!inQuotes) {
        --i;
        break;
      }
    }
  }
  position = i;
  line.text = data.sliced(start, i - start);
  line.equals = equals < 0 ? -1 : equals - start;
  return !line.text.isEmpty();
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A key or section name: "%XX" and "%UXXXX" are characters, "\" is "/".
QString unescapedKey(QByteArrayView raw) {
  const QString decoded = QString::fromUtf8(raw);
  QString result;
  qsizetype i = 0;
  while (i < decoded.size()) {
    const QChar c = decoded[i];
    if (c == u'\\') {
      result += u'/';
      ++i;
      continue;
    }
    const qsizetype digits = i + 1 < decoded.size() && decoded[i + 1] == u'U' ? 4 : 2;
    const qsizetype first = i + 1 + (digits == 4 ? 1 : 0);
    bool ok = false;
    const ushort code = c == u'%' && first + digits <= decoded.size()
                            ? QStringView(decoded).sliced(first, digits).toUShort(&ok, 16)
                            : ushort{0};
    if (!ok) {
      result += c;
      ++i;
      continue;
    }
    result += QChar(code);
    i = first + digits;
  }
  return result;
}

QByteArray escapedKey(const QString& key) {
  QByteArray result;
  for (const QChar c : key) {
    const char16_t code = c.unicode();
    if (code == u'/') {
      result += '\\';
    } else if (code < 0x80 && (c.isLetterOrNumber() || code == u'_' || code == u'-' || code == u'.')) {
      result += static_cast<char>(code);
    } else if (code <= 0xFF) {
      result += '%' + QByteArray::number(code, 16).toUpper().rightJustified(2, '0');
    } else {
      result += "%U" + QByteArray::number(code, 16).toUpper().rightJustified(4, '0');
    }
  }
  return result;
}

QString sectionName(QByteArrayView header) {
  if (header.compare("general", Qt::CaseInsensitive) == 0) return QString();
  if (header.compare("%general", Qt::CaseInsensitive) == 0) return QString::fromLatin1(header.sliced(1));
  return unescapedKey(header);
}

QByteArray sectionHeader(const QString& name) {
  if (name.isEmpty()) return "[General]";
  if (name.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) return "[%" + name.toLatin1() + ']';
  return '[' + escapedKey(name) + ']';
}

// Reads a stored value: quotes keep commas and blanks, backslashes escape,
// commas outside quotes separate the items of a list; blanks around an
// unquoted item are dropped.
class ValueReader {
 public:
  explicit ValueReader(QByteArrayView raw) : raw_(raw) {}

  QStringList items() {
    skipBlanks();
    while (i_ < raw_.size()) {
      const char c = raw_[i_];
      if (c == '\\') {
        ++i_;
        escape();
      } else if (c == '"') {
        ++i_;
        quoted_ = true;
        inQuotes_ = !inQuotes_;
        if (!inQuotes_) skipBlanks();
      } else if (c == ',' && !inQuotes_) {
        ++i_;
        endItem();
        skipBlanks();
      } else {
        plainText();
      }
    }
    endItem();
    return items_;
  }

 private:
  void skipBlanks() {
    while (i_ < raw_.size() && (raw_[i_] == ' ' || raw_[i_] == '\t')) ++i_;
    keep_ = current_.size();
  }

  // The text up to the next backslash, quote or comma, as UTF-8.
  void plainText() {
    qsizetype end = i_ + 1;
    while (end < raw_.size() && raw_[end] != '\\' && raw_[end] != '"' && raw_[end] != ',') ++end;
    current_ += QString::fromUtf8(raw_.sliced(i_, end - i_));
    i_ = end;
  }

  void escape() {
    if (i_ >= raw_.size()) return;
    const char c = raw_[i_++];
    static constexpr char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},
                                           {'r', '\r'}, {'t', '\t'}, {'v', '\v'}, {'"', '"'},
                                           {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    for (const auto& [letter, character] : kEscapes) {
      if (c == letter) {
        current_ += QLatin1Char(character);
        keep_ = current_.size();
        return;
      }
    }
    if (c == 'x' && i_ < raw_.size() && hexDigit(raw_[i_]) >= 0) {
      number(16);
    } else if (c >= '0' && c <= '7') {
      --i_;
      number(8);
    } else if ((c == '\n' || c == '\r') && i_ < raw_.size() && (raw_[i_] == '\n' || raw_[i_] == '\r') &&
               raw_[i_] != c) {
      ++i_;  // an escaped two-character line break
    }
    keep_ = current_.size();  // any other escaped character is dropped
  }

  // A character given by its code in hexadecimal or octal digits.
  void number(int base) {
    char16_t code = 0;
    while (i_ < raw_.size()) {
      const int digit = hexDigit(raw_[i_]);
      if (digit < 0 || digit >= base) break;
      code = static_cast<char16_t>(code * base + digit);
      ++i_;
    }
    current_ += QChar(code);
  }

  void endItem() {
    if (!quoted_) {
      qsizetype end = current_.size();
      while (end > keep_ && (current_[end - 1] == u' ' || current_[end - 1] == u'\t')) --end;
      current_.truncate(end);
    }
    items_.append(current_);
    current_.clear();
    quoted_ = false;
  }

  QByteArrayView raw_;
  qsizetype i_ = 0;
  QString current_;
  qsizetype keep_ = 0;  // blanks before this place are part of the text
  bool quoted_ = false;
  bool inQuotes_ = false;
  QStringList items_;
};

// A stored item's text: "@@" stands for a text starting with "@", and the
// typed forms "@String(...)" and "@ByteArray(...)" for their contents.
QString itemText(const QString& stored) {
  if (!stored.startsWith(u'@')) return stored;
  if (stored.startsWith(QLatin1String("@@"))) return stored.sliced(1);
  for (const QLatin1String form : {QLatin1String("@String("), QLatin1String("@ByteArray(")}) {
    if (stored.startsWith(form) && stored.endsWith(u')')) return stored.sliced(form.size()).chopped(1);
  }
  if (stored == QLatin1String("@Invalid()")) return QString();
  return stored;
}

QString valueText(QByteArrayView raw) {
  const QStringList items = ValueReader(raw).items();
  QStringList texts;
  for (const QString& item : items) texts.append(itemText(item));
  return texts.join(u',');
}

// The letter a character is written with after a backslash, or 0.
char escapeLetter(char16_t code) {
  static constexpr char kEscapes[][2] = {{'\a', 'a'}, {'\b', 'b'}, {'\f', 'f'}, {'\n', 'n'}, {'\r', 'r'},
                                         {'\t', 't'}, {'\v', 'v'}, {'"', '"'},  {'\\', '\\'}};
  for (const auto& [character, letter] : kEscapes) {
    if (code == static_cast<char16_t>(character)) return letter;
  }
  return 0;
}

// A text as stored: quoted when it holds a separator or blanks at an end,
// control characters, quotes and backslashes escaped, the rest as UTF-8.
QByteArray escapedValue(const QString& value) {
  QString text = value;
  if (text.contains(QChar::Null)) {
    text = QLatin1String("@String(") + text + u')';
  } else if (text.startsWith(u'@')) {
    text.prepend(u'@');
  }
  QByteArray result;
  bool needsQuotes = false;
  bool escapeNextIfDigit = false;  // a hexadecimal escape must not run on
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t code = text[i].unicode();
    if (code == u';' || code == u',' || code == u'=') needsQuotes = true;
    if (escapeNextIfDigit && code < 0x80 && hexDigit(static_cast<char>(code)) >= 0) {
      result += "\\x" + QByteArray::number(code, 16);
      continue;
    }
    escapeNextIfDigit = false;
    if (const char letter = escapeLetter(code)) {
      result += '\\';
      result += letter;
    } else if (code <= 0x1F) {
      result += "\\x" + QByteArray::number(code, 16);
      escapeNextIfDigit = true;
    } else {
      // A character outside the basic plane is two code units, encoded together.
      const qsizetype units = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
      result += QStringView(text).sliced(i, units).toUtf8();
      i += units - 1;
    }
  }
  if (needsQuotes || result.startsWith(' ') || result.endsWith(' ')) result = '"' + result + '"';
  return result;
}

// Whether a value's bytes end where they began to be read: a value with an
// unclosed quote or a last backslash, which only the end of the text had
// closed, would take the lines written after it along.
bool closesItself(const QByteArray& rawValue) {
  const QByteArray line = "k=" + rawValue + '\n';
  qsizetype position = 0;
  IniLine first;
  nextLine(line, position, first);
  return first.text.size() == line.size() - 1;
}

// The item named `name`: the exact name first, else one without regard to case.
template <class Items, class Name>
auto findNamed(Items& items, const QString& name, Name nameOf) -> decltype(&*items.begin()) {
  for (auto& item : items) {
    if (item.*nameOf == name) return &item;
  }
  for (auto& item : items) {
    if ((item.*nameOf).compare(name, Qt::CaseInsensitive) == 0) return &item;
  }
  return nullptr;
}

}  // namespace

IniDocument IniDocument::parse(const QByteArray& text) {
  IniDocument document;
  Section* section = &document.addSection(QString());
  qsizetype position = 0;
  IniLine line;
  while (nextLine(text, position, line)) {
    if (line.text.startsWith('[')) {
      qsizetype end = line.text.indexOf(']');
      if (end < 0) end = line.text.size();
      const QString name = sectionName(line.text.sliced(1, end - 1).trimmed());
      // A section given twice is one section.
      auto same = std::find_if(document.sections_.begin(), document.sections_.end(),
                               [&name](const Section& known) { return known.name == name; });
      section = same != document.sections_.end() ? &*same : &document.addSection(name);
      continue;
    }
    if (line.equals < 0) continue;
    const QByteArrayView rawKey = line.text.first(line.equals).trimmed();
    const QString key = unescapedKey(rawKey);
    const QByteArray rawValue = line.text.sliced(line.equals + 1).toByteArray();
    // A key given twice keeps the last value.
    auto same = std::find_if(section->entries.begin(), section->entries.end(),
                             [&key](const Entry& entry) { return entry.key == key; });
    if (same != section->entries.end()) {
      same->rawValue = rawValue;
    } else {
      section->entries.push_back({key, rawKey.toByteArray(), rawValue});
    }
  }
  return document;
}

QByteArray IniDocument::text() const {
  QByteArray text;
  for (const Section& section : sections_) {
    if (section.entries.empty()) continue;
    if (!text.isEmpty()) text += '\n';
    text += sectionHeader(section.name) + '\n';
    for (const Entry& entry : section.entries) {
      const QByteArray value = closesItself(entry.rawValue) ? entry.rawValue : escapedValue(valueText(entry.rawValue));
      text += entry.rawKey + '=' + value + '\n';
    }
  }
  return text;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
  const Section* found = findNamed(sections_, section, &Section::name);
  const Entry* entry = found ? findNamed(found->entries, key, &Entry::key) : nullptr;
  if (!entry) return std::nullopt;
  return valueText(entry->rawValue);
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
  Section* found = findNamed(sections_, section, &Section::name);
  Section& target = found ? *found : addSection(section);
  if (Entry* entry = findNamed(target.entries, key, &Entry::key)) {
    entry->rawValue = escapedValue(value);
    return;
  }
  target.entries.push_back({key, escapedKey(key), escapedValue(value)});
}

IniDocument::Section& IniDocument::addSection(const QString& name) {
  sections_.push_back({name, {}});
  return sections_.back();
}

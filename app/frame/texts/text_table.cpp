#include "frame/texts/text_table.h"

#include "frame/regular_file.h"
#include "frame/site/record_fields.h"

#include <QDir>
#include <QMessageBox>
#include <QStringList>

#include <algorithm>

std::array<QString, kTextCount>& labelTexts() {
  static std::array<QString, kTextCount> texts;
  return texts;
}

std::array<QString, kCaptionCount>& captionTexts() {
  static std::array<QString, kCaptionCount> texts;
  return texts;
}

std::array<QString, kMessageCount>& messageTexts() {
  static std::array<QString, kMessageCount> texts;
  return texts;
}

QString& textTableTag() {
  static QString tag;
  return tag;
}

QFont& appFont() {
  static QFont font;
  return font;
}

QString tableText(int index) {
  if (index < 0 || index >= kTextCount) return QString();
  return labelTexts()[static_cast<std::size_t>(index)];
}

QString getTextOrDefault(const QString& defaultText, int index) {
  const QString text = tableText(index);
  return text.isEmpty() ? defaultText : text;
}

namespace {

bool& emptyCaptionsReported() {
  static bool reported = false;
  return reported;
}

}  // namespace

void reportEmptyCaptions(const QList<int>& entries) {
  constexpr qsizetype kNamed = 10;
  if (entries.isEmpty() || emptyCaptionsReported()) return;
  emptyCaptionsReported() = true;
  QStringList named;
  for (qsizetype i = 0; i < std::min(entries.size(), kNamed); ++i) named << QString::number(entries[i]);
  qWarning("Lang.ini: language tag \"%s\" but no text for entries %s%s (%d in all); their captions stay empty",
           qPrintable(textTableTag()), qPrintable(named.join(QStringLiteral(", "))),
           entries.size() > kNamed ? ", ..." : "", static_cast<int>(entries.size()));
}

QString ownText(OwnText entry) {
  const char* english = "";
  switch (entry) {
    case kTextFileDamaged: english = " is damaged and was not loaded."; break;
    case kTextLine: english = "Line "; break;
    case kTextSettingsNotSaved: english = "The COM port, display options and window place cannot be saved in"; break;
    case kTextFolderNotSaved: english = "The adapter type and the folders csv and q7data cannot be saved in"; break;
    case kTextFailedFile: english = "File: "; break;
  }
  return getTextOrDefault(QString::fromLatin1(english), entry);
}

void copyTextsToLabelGlobals() {
  for (int i = 1; i < kCaptionCount; ++i) captionTexts()[static_cast<std::size_t>(i)] = tableText(i);
  for (int k = 0; k < kMessageCount; ++k) messageTexts()[static_cast<std::size_t>(k)] = tableText(410 + k);
}

LangIniOutcome applyLangIni(const QByteArray& content) {
  LangIniOutcome outcome;
  outcome.opened = true;
  FieldReader reader(content);
  QString field;
  while (reader.readField(field)) {
    if (field.startsWith(QLatin1Char(';'))) continue;  // a comment field
    if (field == QLatin1String("END")) break;
    int32_t index = 0;
    QString text;
    if (!parseWholeNumber(field, index) || index < 0 || index >= kTextCount || !reader.readField(text)) {
      outcome.failed = true;
      outcome.badField = field;
      break;
    }
    labelTexts()[static_cast<std::size_t>(index)] = text;
  }
  return outcome;
}

LangIniOutcome readLangIniFile(const QString& path) {
  // A Lang.ini that is not a regular file counts as none.
  const RegularFileRead file = readRegularFile(path);
  if (!file) return LangIniOutcome{};
  return applyLangIni(file.content);
}

void loadTextTable() {
  emptyCaptionsReported() = false;
  setEnglishTexts();
  const LangIniOutcome outcome = readLangIniFile(QDir::current().filePath(QStringLiteral("Lang.ini")));
  textTableTag() = labelTexts()[0];
  if (outcome.failed) {
    // A long field is cut and its bytes that are not text escaped, so the box stays small.
    const QString field = printableExcerpt(outcome.badField.toUtf8());
    QMessageBox box(QMessageBox::NoIcon, tableText(19), QStringLiteral("Lang.ini file error : ") + field,
                    QMessageBox::Ok);
    box.exec();
  }
}

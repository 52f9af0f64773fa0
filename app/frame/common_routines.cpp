#include "frame/common_routines.h"

#include "frame/library/tramsoll_client.h"
#include "frame/program_values.h"
#include "frame/site/paths.h"

#include <QDate>
#include <QDir>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int lastSeparator(const QString& path) {
  return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

constexpr int32_t kLargest = std::numeric_limits<int32_t>::max();

}  // namespace

QString pathBaseName(const QString& path) { return path.mid(lastSeparator(path) + 1); }

void splitPath(const QString& path, QString& folder, QString& file) {
  const int at = lastSeparator(path);
  file = path.mid(at + 1);
  if (at < 0) {
    folder.clear();
    return;
  }
  const QString before = path.left(at);
  const bool root = before.isEmpty() || (before.size() == 2 && before[1] == QLatin1Char(':'));
  folder = root ? path.left(at + 1) : before;
}

QString unitAddressToText(int32_t address) {
  if (address == -1) return QString();
  const int32_t group = (address + 16) / 16;
  const int32_t unit = (address + 16) % 16;
  return QStringLiteral("%1-%2").arg(group).arg(unit, 2, 10, QLatin1Char('0'));
}

int32_t unitAddressFromText(const QString& text) {
  const QString address = text.trimmed();
  if (address.isEmpty()) return -1;
  const int n = address.size();
  if (n < 3 || !isDigit(address[0]) || !isDigit(address[n - 2]) || !isDigit(address[n - 1])) return -1;
  const int32_t group = address[0].digitValue();
  const int32_t unit = address[n - 2].digitValue() * 10 + address[n - 1].digitValue();
  return (group - 1) * 16 + unit;
}

QString zeroPad3(int32_t value) {
  const QString text = QString::number(value);
  if (text.size() == 1) return QStringLiteral("00") + text;
  if (text.size() == 2) return QStringLiteral("0") + text;
  return text;
}

QString secondsToTimeText(int32_t secondsOfDay) {
  constexpr int kDay = 24 * 3600;
  const int seconds = ((secondsOfDay % kDay) + kDay) % kDay;
  return QTime(0, 0).addSecs(seconds).toString(QLatin1String(kTimeFormat));
}

QString makeDateText(int32_t year, int32_t month, int32_t day) {
  if (month < 1 || month > 12) month = 1;
  if (day < 1 || day > 31) day = 1;
  return QDate(year, month, 1).addDays(day - 1).toString(QLatin1String(kDateFormat));
}

QString recordFileDateTimeText(const DataShowFile& file) {
  return makeDateText(file.saveYear, file.saveMonth, file.saveDay) + QLatin1Char(' ') +
         secondsToTimeText(file.saveTime);
}

QString generalDateText(const QString& text) {
  const QString trimmed = text.trimmed();
  for (const char* format : {"yyyy/M/d", "yyyy-M-d", "yyyy.M.d", "yyyyMMdd"}) {
    const QDate date = QDate::fromString(trimmed, QLatin1String(format));
    if (date.isValid()) return date.toString(QLatin1String(kDateFormat));
  }
  return text;
}

void getFreeDiskSize(const QString& path, int32_t& kilobytes, float& bytes) {
  kilobytes = 0;
  bytes = 0;
  const QByteArray root = textForLibrary(path);
  if (program().displayOptions[kOsVersion] == 1) {
    int32_t kb = 0;
    float freeBytes = 0;
    if (tramsollApi().getFreeDskSzEx(root.constData(), &kb, &freeBytes) != 0) return;
    if (!(freeBytes >= 0)) return;
    bytes = freeBytes;
    // Above 2 TiB the kilobyte count no longer fits in 32 bits.
    kilobytes = (kb < 0 || freeBytes / 1024.0 > kLargest) ? kLargest : kb;
    return;
  }
  int32_t freeBytes = 0;
  if (tramsollApi().getFreeDskSz(root.constData(), &freeBytes) != 0) return;
  // The old query counts bytes in 32 bits: above 2 GiB it turns negative.
  if (freeBytes < 0) freeBytes = kLargest;
  bytes = static_cast<float>(freeBytes);
  kilobytes = static_cast<int32_t>(std::lround(freeBytes / 1024.0));
}

bool setProgramFolderAsCurrent() { return QDir::setCurrent(programFolder()); }

bool ensureDataFolders() {
  const QDir folder(programFolder());
  QString names[2] = {QStringLiteral("csv"), QStringLiteral("q7data")};
  for (QString& name : names) {
    const QString found = findEntryNoCase(folder.path(), name, EntryKind::Folder);
    if (!found.isEmpty()) {
      name = found;
    } else if (!folder.mkdir(name)) {
      return false;
    }
  }
  ProgramValues& values = program();
  values.csvFolder = folder.filePath(names[0] + QStringLiteral("/data"));
  values.q7dataFolder = folder.filePath(names[1] + QStringLiteral("/q7-net"));
  return true;
}

void loadFileVersions() {
  const FileVersions versions = TramsollClient().fileVersions();
  auto& texts = program().versionTexts;
  texts[0] = versions.setFileVersion;
  texts[1] = versions.libraryVersion;
  texts[3] = versions.setFileDate;
  texts[4] = versions.libraryDate;
}

#include "frame/site/settings_store.h"

#include "frame/file_operations.h"
#include "frame/regular_file.h"
#include "frame/site/ini_document.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

#include <cerrno>
#include <optional>

namespace settings {

namespace {

// The store lives in the user's configuration folder as an INI file, where
// the program has always kept it. Only this file is read: no folder-wide or
// system-wide companion of it.
QString defaultStoreFile() {
  const QString name = QLatin1String(kApplication);
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + name + u'/' + name +
         QLatin1String(".ini");
}

QString& storeFile() {
  static QString file = defaultStoreFile();
  return file;
}

// The store as it stands, read through the program's reader of regular
// files: empty when there is none yet, nullopt when it cannot be read (a
// FIFO, a device, a socket or a folder in its place, or a file too large),
// so that the defaults stand.
std::optional<IniDocument> readStore() {
  const RegularFileRead file = readRegularFile(storeFile());
  if (file) return IniDocument::parse(file.content);
  if (file.error == ENOENT) return IniDocument();
  return std::nullopt;
}

// The nearest folder on the store's path that exists, where a missing
// folder of the store would be made.
QString nearestFolder(QString folder) {
  while (!QFileInfo::exists(folder) && QFileInfo(folder).path() != folder) folder = QFileInfo(folder).path();
  return folder;
}

// The store as it may be replaced: never through a link nor over anything
// but a regular file, and not when it cannot be read (its content would be
// lost); what could not be saved is then said as for any store that cannot
// be written.
std::optional<IniDocument> storeToReplace() {
  if (pathKind(storeFile()) == PathKind::Other) return std::nullopt;
  return readStore();
}

}  // namespace

QString readText(const QString& section, const QString& key, const QString& fallback) {
  const std::optional<IniDocument> store = readStore();
  if (!store) return fallback;
  return store->value(section, key).value_or(fallback);
}

int32_t readNumber(const QString& section, const QString& key, int32_t fallback) {
  bool parsed = false;
  const int32_t value = readText(section, key, QString()).trimmed().toInt(&parsed, 10);
  return parsed ? value : fallback;
}

bool writeText(const QString& section, const QString& key, const QString& value) {
  std::optional<IniDocument> store = storeToReplace();
  if (!store) return false;
  store->setValue(section, key, value);
  if (!QDir().mkpath(QFileInfo(storeFile()).path())) return false;
  return static_cast<bool>(replaceFileContent(storeFile(), store->text()));
}

bool writeNumber(const QString& section, const QString& key, int32_t value) {
  return writeText(section, key, QString::number(value));
}

QString storeFileName() { return storeFile(); }

bool storeIsWritable() {
  if (!storeToReplace()) return false;
  // The new content is renamed into place, so the folder must take it.
  const QString folder = nearestFolder(QFileInfo(storeFile()).path());
  return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

void useStoreFile(const QString& file) { storeFile() = file; }

}  // namespace settings

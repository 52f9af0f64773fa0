#include "frame/site/settings_store.h"

#include "frame/file_operations.h"
#include "frame/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <unistd.h>

#include <cerrno>
#include <memory>
#include <mutex>
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

// The store's values as read: each section's keys, spelt as stored, with
// their text.
using Keys = QMap<QString, QString>;
using Sections = QMap<QString, Keys>;

// The store as the program knows it: read once, at the first reading, so
// the start's many readings come from memory; a write puts what it wrote
// here too.
struct Store {
  std::mutex lock;
  QString file = defaultStoreFile();
  std::optional<Sections> read;  // nullopt until read
  bool damaged = false;          // could not be read: the defaults stand
};

Store& store() {
  static Store theStore;
  return theStore;
}

// The name among `names` equal to `name`, else the first equal without
// regard to case, else `name` itself.
QString storedName(const QStringList& names, const QString& name) {
  for (const QString& stored : names) {
    if (stored == name) return stored;
  }
  for (const QString& stored : names) {
    if (stored.compare(name, Qt::CaseInsensitive) == 0) return stored;
  }
  return name;
}

// A value as text: a hand-edited value with commas comes back as a list.
QString valueText(const QVariant& value) {
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
  return value.toString();
}

// Qt's INI reader and writer over a copy of the store's bytes in a private
// folder of its own: Qt then reads no file but the copy (no companion of
// the store, nothing that is not a regular file), and a copy of a new path
// each time is never taken for an earlier one of the same size and time.
class PrivateCopy {
 public:
  explicit PrivateCopy(const QByteArray& content) {
    if (!folder_.isValid()) return;
    QFile copy(path());
    if (!copy.open(QIODevice::WriteOnly) || copy.write(content) != content.size()) return;
    copy.close();
    ini_ = std::make_unique<QSettings>(path(), QSettings::IniFormat);
  }

  QSettings* ini() const { return ini_.get(); }

  // The copy's text once what was set is written.
  std::optional<QByteArray> writtenText() const {
    ini_->sync();
    if (ini_->status() == QSettings::AccessError) return std::nullopt;
    QFile copy(path());
    if (!copy.open(QIODevice::ReadOnly)) return std::nullopt;
    return copy.readAll();
  }

 private:
  QString path() const { return folder_.filePath(QStringLiteral("store.ini")); }

  QTemporaryDir folder_;
  std::unique_ptr<QSettings> ini_;
};

Sections sectionsOf(const QSettings& ini) {
  Sections sections;
  for (const QString& name : ini.allKeys()) {
    const qsizetype slash = name.indexOf(u'/');
    const QString section = slash < 0 ? QString() : name.left(slash);
    sections[section][name.mid(slash + 1)] = valueText(ini.value(name));
  }
  return sections;
}

// The store's bytes, read through the program's reader of regular files:
// empty when there is none yet, nullopt when it cannot be read (a FIFO, a
// device, a socket or a folder in its place, or a file over the store's
// size, which only damage makes).
std::optional<QByteArray> readStoreFile(const QString& file) {
  const RegularFileRead read = readRegularFile(file, kLargestStore);
  if (read) return read.content;
  if (read.error == ENOENT) return QByteArray();
  return std::nullopt;
}

// Reads the store at the first reading since the start or a move.
const Sections& sections(Store& state) {
  if (state.read) return *state.read;
  state.read.emplace();
  const std::optional<QByteArray> content = readStoreFile(state.file);
  state.damaged = !content;
  if (!content || content->isEmpty()) return *state.read;
  const PrivateCopy copy(*content);
  state.damaged = !copy.ini();
  if (copy.ini()) *state.read = sectionsOf(*copy.ini());
  return *state.read;
}

// The store's file may be replaced: never through a link nor over anything
// but a regular file, nor over a file the user may not write, even in a
// folder the user may.
bool mayReplace(const QString& file) {
  switch (pathKind(file)) {
    case PathKind::Absent: return true;
    case PathKind::Other: return false;
    case PathKind::RegularFile: return ::access(QFile::encodeName(file).constData(), W_OK) == 0;
  }
  return false;
}

// The nearest folder on the store's path that exists, where a missing
// folder of the store would be made.
QString nearestFolder(QString folder) {
  while (!QFileInfo::exists(folder) && QFileInfo(folder).path() != folder) folder = QFileInfo(folder).path();
  return folder;
}

// Sets the value in the store's file as it stands now and puts Qt's text
// of it in place; a store that cannot be read is left as it is, since its
// content would be lost.
bool writeStore(Store& state, const QString& section, const QString& key, const QString& value) {
  if (!mayReplace(state.file)) return false;
  const std::optional<QByteArray> content = readStoreFile(state.file);
  if (!content) return false;
  const PrivateCopy copy(*content);
  QSettings* ini = copy.ini();
  if (!ini) return false;
  ini->beginGroup(storedName(ini->childGroups(), section));
  ini->setValue(storedName(ini->childKeys(), key), value);
  ini->endGroup();
  const std::optional<QByteArray> text = copy.writtenText();
  if (!text || !QDir().mkpath(QFileInfo(state.file).path())) return false;
  if (!replaceFileContent(state.file, *text)) return false;
  state.read = sectionsOf(*ini);
  state.damaged = false;
  return true;
}

}  // namespace

QString readText(const QString& section, const QString& key, const QString& fallback) {
  Store& state = store();
  const std::lock_guard<std::mutex> hold(state.lock);
  const Sections& read = sections(state);
  const auto keys = read.constFind(storedName(read.keys(), section));
  if (keys == read.cend()) return fallback;
  const auto found = keys->constFind(storedName(keys->keys(), key));
  return found == keys->cend() ? fallback : *found;
}

int32_t readNumber(const QString& section, const QString& key, int32_t fallback) {
  bool parsed = false;
  const int32_t value = readText(section, key, QString()).trimmed().toInt(&parsed, 10);
  return parsed ? value : fallback;
}

bool writeText(const QString& section, const QString& key, const QString& value) {
  Store& state = store();
  const std::lock_guard<std::mutex> hold(state.lock);
  return writeStore(state, section, key, value);
}

bool writeNumber(const QString& section, const QString& key, int32_t value) {
  return writeText(section, key, QString::number(value));
}

QString storeFileName() {
  Store& state = store();
  const std::lock_guard<std::mutex> hold(state.lock);
  return state.file;
}

bool storeIsWritable() {
  Store& state = store();
  const std::lock_guard<std::mutex> hold(state.lock);
  sections(state);
  if (state.damaged || !mayReplace(state.file)) return false;
  // The new content is renamed into place, so the folder must take it.
  const QString folder = nearestFolder(QFileInfo(state.file).path());
  return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

void useStoreFile(const QString& file) {
  Store& state = store();
  const std::lock_guard<std::mutex> hold(state.lock);
  state.file = file;
  state.read.reset();
  state.damaged = false;
}

}  // namespace settings

#include "frame/site/settings_store.h"

#include "frame/regular_file.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace settings {

namespace {

// The store lives in the user's configuration folder as an INI file; tests
// move it with QSettings::setPath.
QSettings openStore() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QLatin1String(kApplication),
                   QLatin1String(kApplication));
}

// QSettings reads its file as it is made, so the store's path is taken from
// a store of a name no file has: the folder is the one QSettings uses.
QString storePath() {
  const QString probe = QSettings(QSettings::IniFormat, QSettings::UserScope,
                                  QLatin1String(kApplication) + QLatin1String(".store-folder"))
                            .fileName();
  const QString name = QLatin1String(kApplication);
  return QFileInfo(probe).path() + QLatin1Char('/') + name + QLatin1Char('/') + name + QLatin1String(".ini");
}

// A store that is a FIFO, a device, a socket or a folder would stop the
// program or fill its memory: it is not read and the defaults stand.
bool storeCanBeRead() {
  const QString path = storePath();
  return pathKind(path) == PathKind::Absent || opensAsRegularFile(path);
}

// The store is never written through a link nor over anything but a
// regular file; what could not be saved is then said as for any store that
// cannot be written.
bool storeCanBeWritten() { return pathKind(storePath()) != PathKind::Other; }

// The stored name equal to `name` without regard to case, or `name` itself.
QString storedName(const QStringList& names, const QString& name) {
  for (const QString& stored : names) {
    if (stored == name) return stored;
  }
  for (const QString& stored : names) {
    if (stored.compare(name, Qt::CaseInsensitive) == 0) return stored;
  }
  return name;
}

// Opens the section under its stored spelling.
void enterSection(QSettings& store, const QString& section) {
  store.beginGroup(storedName(store.childGroups(), section));
}

}  // namespace

QString readText(const QString& section, const QString& key, const QString& fallback) {
  if (!storeCanBeRead()) return fallback;
  QSettings store = openStore();
  enterSection(store, section);
  const QString name = storedName(store.childKeys(), key);
  if (!store.contains(name)) return fallback;
  const QVariant value = store.value(name);
  // A hand-edited value with commas comes back as a list.
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(','));
  return value.toString();
}

int32_t readNumber(const QString& section, const QString& key, int32_t fallback) {
  bool parsed = false;
  const int32_t value = readText(section, key, QString()).trimmed().toInt(&parsed, 10);
  return parsed ? value : fallback;
}

bool writeText(const QString& section, const QString& key, const QString& value) {
  if (!storeCanBeWritten()) return false;
  QSettings store = openStore();
  enterSection(store, section);
  store.setValue(storedName(store.childKeys(), key), value);
  store.sync();
  return store.status() == QSettings::NoError;
}

bool writeNumber(const QString& section, const QString& key, int32_t value) {
  return writeText(section, key, QString::number(value));
}

QString storeFileName() { return storePath(); }

bool storeIsWritable() { return storeCanBeWritten() && openStore().isWritable(); }

}  // namespace settings

#include "frame/site/settings_store.h"

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
  QSettings store = openStore();
  enterSection(store, section);
  store.setValue(storedName(store.childKeys(), key), value);
  store.sync();
  return store.status() == QSettings::NoError;
}

bool writeNumber(const QString& section, const QString& key, int32_t value) {
  return writeText(section, key, QString::number(value));
}

QString storeFileName() { return openStore().fileName(); }

bool storeIsWritable() { return openStore().isWritable(); }

}  // namespace settings

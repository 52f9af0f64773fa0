// Arbitrary bytes as the settings store: every value reads without harm, a
// value set reads back as it was set at the next start, and a value not set
// reads the same after the write.
#include "frame/site/settings_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

const QString& storeFile() {
  static const QTemporaryDir folder;
  static const QString file = folder.filePath(QStringLiteral("store.ini"));
  return file;
}

// The store's bytes, and the program started anew over them.
void startOver(const QByteArray& bytes) {
  QFile file(storeFile());
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) std::abort();
  file.close();
  settings::useStoreFile(storeFile());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  startOver(bytes);
  if (bytes.size() > settings::kLargestStore) {
    // A damaged store is never replaced.
    if (settings::writeText(QStringLiteral("SensorInput"), QStringLiteral("Unit7"), QString())) std::abort();
    return 0;
  }
  const QString section = QStringLiteral("SensorInput");
  const QString before = settings::readText(QStringLiteral("DspOption"), QStringLiteral("FontSz"), QString());
  // The input's first half, read as text, is the value set.
  const QString value = QString::fromUtf8(bytes.first(bytes.size() / 2));
  if (!settings::writeText(section, QStringLiteral("Unit7"), value)) std::abort();
  settings::useStoreFile(storeFile());
  if (settings::readText(section, QStringLiteral("Unit7"), QString()) != value) std::abort();
  if (settings::readText(QStringLiteral("DspOption"), QStringLiteral("FontSz"), QString()) != before) std::abort();
  return 0;
}

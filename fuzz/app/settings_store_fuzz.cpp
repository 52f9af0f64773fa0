// Arbitrary bytes as the settings store: every value reads without harm, a
// value set reads back as it was set, and the bytes of what was not set
// survive the write unchanged in meaning.
#include "frame/site/ini_document.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  IniDocument store = IniDocument::parse(bytes);
  const QString section = QStringLiteral("SensorInput");
  const std::optional<QString> before = store.value(QStringLiteral("DspOption"), QStringLiteral("FontSz"));
  // The input's first half, read as text, is the value set.
  const QString value = QString::fromUtf8(bytes.first(bytes.size() / 2));
  store.setValue(section, QStringLiteral("Unit7"), value);
  const IniDocument again = IniDocument::parse(store.text());
  if (again.value(section, QStringLiteral("Unit7")) != value) std::abort();
  if (section.compare(QStringLiteral("DspOption"), Qt::CaseInsensitive) != 0 &&
      again.value(QStringLiteral("DspOption"), QStringLiteral("FontSz")) != before) {
    std::abort();
  }
  return 0;
}

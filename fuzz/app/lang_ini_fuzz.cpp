// Arbitrary bytes as a Lang.ini: pairs replace entries of the text table
// until a faulty pair, which is reported with the field at fault.
#include "frame/texts/text_table.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const LangIniOutcome outcome = applyLangIni(bytes);
  if (!outcome.opened) std::abort();
  if (!outcome.failed && !outcome.badField.isEmpty()) std::abort();
  return 0;
}

#include "tables/table_words.h"

namespace tramsoll {

std::atomic<int32_t> tempUnitFlag{0};

namespace {

bool missingWord(ConversionContext& context, const char* keyword) {
  return context.fail("No table for \"%s\"", keyword);
}

bool noPtable(ConversionContext& context) { return missingWord(context, "ptable"); }
bool noStable(ConversionContext& context) { return missingWord(context, "stable"); }
bool noUtable(ConversionContext& context) { return missingWord(context, "utable"); }
bool noErcd(ConversionContext& context) { return missingWord(context, "ercd"); }
bool noTable(ConversionContext& context) { return missingWord(context, "table"); }
bool noEtable(ConversionContext& context) { return missingWord(context, "etable"); }

void unitsAsSent(int32_t, char (&)[kUnitTextSize], float&, float&) {}

constexpr TableWords kDefaults{noPtable, noStable, noUtable, noErcd, noTable, noEtable, unitsAsSent};

TableWords installed = kDefaults;

template <typename Run>
void fillMissing(Run& run, Run fallback) {
  if (!run) run = fallback;
}

}  // namespace

const TableWords& tableWords() { return installed; }

void setTableWords(const TableWords& words) {
  installed = words;
  fillMissing(installed.ptable, kDefaults.ptable);
  fillMissing(installed.stable, kDefaults.stable);
  fillMissing(installed.utable, kDefaults.utable);
  fillMissing(installed.ercd, kDefaults.ercd);
  fillMissing(installed.table, kDefaults.table);
  fillMissing(installed.etable, kDefaults.etable);
  fillMissing(installed.applyDisplayUnit, kDefaults.applyDisplayUnit);
}

}  // namespace tramsoll

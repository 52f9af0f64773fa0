#include "tables/all_tables.h"

#include "tables/setting_file.h"

namespace tramsoll {

bool checkMode = false;

bool loadAllTables() {
  loadSettingFile();
  return true;
}

}  // namespace tramsoll

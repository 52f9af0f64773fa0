// The service station that does the work.
#pragma once

#include "types/Collection.h"

#include <QString>

struct DataManageInfor {
  QString ssName;
  QString ssAddress;
  QString ssTel;
  QString ssFax;
  Collection<QString> ssChargeMen;  // persons in charge, keyed "1", "2", ... in file order
};

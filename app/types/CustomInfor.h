// One customer (site) with its network maps.
#pragma once

#include "types/Collection.h"
#include "types/MapQ7net.h"

#include <QString>

struct CustomInfor {
  QString id;                  // names the customer's folder and file
  QString name;
  QString post;                // department
  QString chargeMan;           // person in charge
  QString address;
  QString telNumber;
  QString faxNumber;
  QString others;              // notes
  Collection<MapQ7net> q7nets; // keyed by the decimal text of mapIndex
};

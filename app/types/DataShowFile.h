// One recorded file of a folder as the library lists it (the header summary
// of getFileInfo), or a customer file in the data-transfer lists.
#pragma once

#include <QString>

#include <cstdint>

struct DataShowFile {
  int32_t fileNumber = 0;      // position in the library's list of its folder, 1..count
  QString ssChargeMan;         // the service-station contact stored in the file
  QString mapName;
  int32_t mapNumber = 0;       // not delivered by the library: stays 0
  int32_t recodeMode = 0;      // 1 periodic record, 2 trigger record
  int32_t ifMode = 0;          // interface mode of the recording
  int32_t systemNumber = 0;
  QString kind;                // model name of the recorded system
  int32_t outNumber = 0;
  int32_t inNumber = 0;
  int32_t cenNumber = 0;
  int32_t saveYear = 0;
  int32_t saveMonth = 0;
  int32_t saveDay = 0;
  int32_t saveTime = 0;        // second of the day the recording started
  int32_t graphTotalNum = 0;   // number of records
  int32_t graphTriggerNo = 0;  // record of the trigger moment
  int32_t recodeInterval = 0;  // seconds between records
  int32_t fileSize = 0;        // bytes
  QString fileName;            // without folder; only the data-transfer lists fill it
};

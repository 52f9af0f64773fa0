// Until recorded-data files exist the timer step's recording work does
// nothing; no recording can be started without them.
#include "files/recording_step.h"

namespace tramsoll {

void appendPeriodicRecord(std::time_t) {}
void appendTriggerRecord(std::time_t) {}
int32_t triggerRecordCount() { return 0; }
void dropOldestTriggerRecords(int32_t) {}
void markTriggerRecord() {}
void releaseTriggerRecording() {}
bool checkTriggerCondition(int) { return false; }

}  // namespace tramsoll

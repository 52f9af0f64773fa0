// Public interface of the Tramsoll data-control library.
//
// Every export takes 32-bit arguments and returns a 32-bit result; 0 means
// success unless the export says otherwise. Texts go in as zero-terminated
// byte strings and come out in caller-owned buffers with a separate length.
// The library never keeps a caller's pointer and never hands out memory.
#ifndef TRAMSOLL_H
#define TRAMSOLL_H

#include <stdint.h>

#if defined(TRAMSOLL_BUILDING)
#define TRAMSOLL_API __attribute__((visibility("default")))
#else
#define TRAMSOLL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Conventions used below:
// - unit class / unit kind: 0 outdoor, 1 indoor, 100 central, 200 sensor inputs.
// - data source: 0 live data of the running gathering, 1 a recorded file.
// - a recorded file is named by its folder text (ending in a path separator)
//   and its 1-based position in that folder's file list.
// - an out buffer is marked with the capacity the caller provides (one of
//   the TRAMSOLL_..._SIZE names below); the paired length receives the text
//   length (at most the capacity - 1).
// - arrays of TRAMSOLL_BUS_ADDRESS_COUNT entries are indexed by bus address
//   0..255.

// Capacities of the callers' out buffers, in bytes, and array lengths.
#define TRAMSOLL_DEBUG_MESSAGE_SIZE 80    // getDebugMessage
#define TRAMSOLL_VERSION_TEXT_SIZE 32     // each text of getSetFileVer
#define TRAMSOLL_PASSWORD_SIZE 32         // getControlDataChangeMode
#define TRAMSOLL_MODEL_NAME_SIZE 64       // getRAMKishuName, getQ7AuAdrInfo
#define TRAMSOLL_CANDIDATE_NAMES_SIZE 4096  // getKishuKouho
#define TRAMSOLL_BUS_ADDRESS_COUNT 256    // per-address arrays
#define TRAMSOLL_ERROR_CODE_SIZE 32       // getQ7ScAdrStatus
#define TRAMSOLL_PERSON_SIZE 32           // getFileInfo, setFileHeader
#define TRAMSOLL_MAP_NAME_SIZE 64         // getFileInfo, setFileHeader
#define TRAMSOLL_MODEL_TEXT_SIZE 64       // getFileInfo
#define TRAMSOLL_FILE_NAME_SIZE 32        // getFileInfo
#define TRAMSOLL_ITEM_NAME_SIZE 64        // getDataItem, getPlyTrgItem
#define TRAMSOLL_FULL_SCALE_TEXT_SIZE 32  // getDataItem
#define TRAMSOLL_STATE_TEXT_SIZE 64       // each state text of getDataItem
#define TRAMSOLL_CONDITION_TEXT_SIZE 64   // each condition text of getPlyTrgItem
#define TRAMSOLL_VALUE_TEXT_SIZE 32       // getCursData
#define TRAMSOLL_TIME_TEXT_SIZE 9         // getCursData, at least
#define TRAMSOLL_GRAPH_RECORD_COUNT 121   // records of one graph call
#define TRAMSOLL_GRAPH_TEXT_SLOT_SIZE 10  // each record's slot of getGraphData2
// Fields the library copies the caller's texts into, terminator included.
#define TRAMSOLL_UNIT_TEXT_SIZE 64        // each text of setNetMapInfo, setDkishuName
#define TRAMSOLL_CUSTOMER_ID_SIZE 32      // setFileHeader
#define TRAMSOLL_CUSTOMER_NAME_SIZE 64    // setFileHeader
#define TRAMSOLL_FOLDER_SIZE 1024         // setFileHeader

// ---- Calling frame and status ----

// Status poll: periodic-recording state (0/1) and trigger state (0 off,
// 1 armed, 2 fired). 0 ok; 1 not gathering; 2 adapter time-out; 3 recorded
// file or bus log write/close error; 4 send ring full; 5 receive overflow;
// 6 received-frame ring full.
TRAMSOLL_API int32_t execTramsoll(int32_t* constSaving, int32_t* trigState);

// Takes the oldest diagnostic line. 1 line returned; 0 ring empty (length 0).
TRAMSOLL_API int32_t getDebugMessage(char* message /* TRAMSOLL_DEBUG_MESSAGE_SIZE */,
                                     int32_t* messageLength);

// ---- Start-up and settings ----

// Loads every setting and table file and the adapter type.
// 0 ok; 1 a setting or table file failed to load.
TRAMSOLL_API int32_t initTramsoll(void);

// Reloads the setting and table files reporting every line fault.
// 0 ok; 1 a setting or table file failed to load.
TRAMSOLL_API int32_t checkKishuTbl(void);

// Setting-file version and date, library version and date.
// 0 ok; 1 the setting file has no version row ("0.00" in the first text).
TRAMSOLL_API int32_t getSetFileVer(char* setFileVersion /* TRAMSOLL_VERSION_TEXT_SIZE */,
                                   int32_t* setFileVersionLength,
                                   char* setFileDate /* TRAMSOLL_VERSION_TEXT_SIZE */,
                                   int32_t* setFileDateLength,
                                   char* libraryVersion /* TRAMSOLL_VERSION_TEXT_SIZE */,
                                   int32_t* libraryVersionLength,
                                   char* libraryDate /* TRAMSOLL_VERSION_TEXT_SIZE */,
                                   int32_t* libraryDateLength);

// Chooses display units: 0 degrees C and kgf/cm2, 1 degrees F and PSI.
// Always 1.
TRAMSOLL_API int32_t setTmpUnit(int32_t unitFlag);

// Permits (1) or prohibits (0) central operation of bus units. Always 0.
TRAMSOLL_API int32_t setCentralOperation(int32_t centralOperation);

// Control-change mode and access password of the setting file.
// 0 ok; 1 no mode given (mode 0).
TRAMSOLL_API int32_t getControlDataChangeMode(int32_t* changeMode,
                                              char* password /* TRAMSOLL_PASSWORD_SIZE */,
                                              int32_t* passwordLength);

// Number of one-system rows (rowKind 0) or one-unit rows (other) of the
// setting file. Always 0.
TRAMSOLL_API int32_t getRAMKishuNum(int32_t rowKind, int32_t* rowCount);

// Model name of a one-system (rowKind 0) or one-unit row (other), 1-based.
// 0 ok; 1 no such row (empty text).
TRAMSOLL_API int32_t getRAMKishuName(int32_t rowKind, int32_t rowIndex,
                                     char* modelName /* TRAMSOLL_MODEL_NAME_SIZE */,
                                     int32_t* modelNameLength);

// Candidate model names for a unit's model key, each followed by ",".
// 0 ok; 1 nothing matches or not gathering in a suitable mode.
TRAMSOLL_API int32_t getKishuKouho(const char* modelKey,
                                   char* candidateNames /* TRAMSOLL_CANDIDATE_NAMES_SIZE */,
                                   int32_t* candidateNamesLength,
                                   int32_t* candidateCount);

// Integer value of a [HEAD] key of pelomar3.ini; 0 when key or file missing.
TRAMSOLL_API int32_t ReadINIfile(const char* keyName);

// Writes an integer to a [HEAD] key of pelomar3.ini. Always 1.
TRAMSOLL_API int32_t WriteINIfile(const char* keyName, int32_t keyValue);

// ---- Gathering ----

// Starts (command != 0) or stops (command 0) gathering. interfaceMode bits:
// 1 sensor-input logger, 2 Q7 bus, 4 one system, 8 one unit.
// 0 ok; 1 tool generation not 3; 2 already gathering, no known mode, or a
// mode other than the bus under the Plus adapter; 3 bad COM port or port
// open failed; 4 target row not found.
TRAMSOLL_API int32_t initDataGather(int32_t command, int32_t comPort,
                                    int32_t toolGeneration,
                                    int32_t interfaceMode,
                                    int32_t initialScan,
                                    const char* targetName,
                                    int32_t intervalSeconds);

// Adds (bit 1 set) or removes the sensor-input logger while gathering.
// 0 ok; 1 not gathering; 2 main mode not kept, or the logger asked of the
// Plus adapter.
TRAMSOLL_API int32_t changeDataGather(int32_t interfaceMode);

// ---- Units, map and sensor inputs ----

// Discovered units of a class, by bus address: discovery state 0..4, unit
// rows, unit state 0..2, ROM number and Zubrel address.
// 0 ok; 1 not gathering; 2 bad class.
TRAMSOLL_API int32_t getQ7AuAdrStatus(int32_t unitClass,
                                      int32_t* discoveryStates /* TRAMSOLL_BUS_ADDRESS_COUNT */,
                                      int32_t* rowCounts /* TRAMSOLL_BUS_ADDRESS_COUNT */,
                                      int32_t* unitStates /* TRAMSOLL_BUS_ADDRESS_COUNT */,
                                      int32_t* romNumbers /* TRAMSOLL_BUS_ADDRESS_COUNT */,
                                      int32_t* zubrelAddresses /* TRAMSOLL_BUS_ADDRESS_COUNT */);

// Model name of one unit row at a bus address.
// 0 ok; 1 not gathering; 2 bad class; 3 no such entry or row.
TRAMSOLL_API int32_t getQ7AuAdrInfo(int32_t unitClass, int32_t busAddress,
                                    int32_t rowIndex,
                                    char* modelName /* TRAMSOLL_MODEL_NAME_SIZE */,
                                    int32_t* modelNameLength);

// Ties a discovered unit to its place on the network map.
// 0 ok; 1 not gathering; 2 bad class; 3 no entry; 4 row out of range.
TRAMSOLL_API int32_t setNetMapInfo(int32_t unitClass, int32_t busAddress,
                                   int32_t rowIndex, int32_t unitNumber,
                                   int32_t systemNumber,
                                   int32_t controlAddress,
                                   const char* modelText,
                                   const char* serialNumberText,
                                   const char* installPlaceText);

// Fixes the model of a bus unit and builds its tables (rowIndex unused).
// 0 ok; 1 not gathering; 2 bad class; 3 no entry; 5 model unknown;
// 6 refused during the initial scan; 7 model already fixed.
TRAMSOLL_API int32_t setDkishuName(int32_t unitClass, int32_t busAddress,
                                   int32_t rowIndex, const char* modelName);

// Adapter switch positions for the sensor inputs.
// 0 ok; 1 no adapter status received yet (both 0).
TRAMSOLL_API int32_t getSensorSwPos(int32_t* switch1, int32_t* switch2);

// Parameters of one sensor channel (1..8).
// 0 ok; 1 bad channel; 2 sensor logger not on; 3 text too long.
TRAMSOLL_API int32_t setSensorParm(int32_t channel, int32_t usedFlag,
                                   const char* itemName,
                                   int32_t switchPosition, int32_t range,
                                   int32_t offset, int32_t fullScale,
                                   const char* unitText);

// ---- Central control ----

// Central-control view of every bus address: presence 0 none, 1 answered,
// 3 command pending; state 0 stopped, 1 running, 3 running with the mode
// bit, 2 unknown (no status of the unit arrived yet); and the two
// control-state flags (central control, forced stop).
// 0 ok; 1 not gathering (arrays untouched, flags 0).
TRAMSOLL_API int32_t getQ7ScAdrInfo(int32_t* unitPresence /* TRAMSOLL_BUS_ADDRESS_COUNT */,
                                    int32_t* controlStates /* TRAMSOLL_BUS_ADDRESS_COUNT */,
                                    int32_t* centralControlFlag,
                                    int32_t* forcedStopFlag);

// Mode, set point, error code and two state flags of one bus address.
// 0 ok; 1 not gathering or address outside 0..255; 2 no status of the
// address arrived yet (outputs 0, buffer zeroed).
TRAMSOLL_API int32_t getQ7ScAdrStatus(int32_t busAddress, int32_t* mode,
                                      float* setPoint,
                                      char* errorCode /* TRAMSOLL_ERROR_CODE_SIZE */,
                                      int32_t* pendingFlag,
                                      int32_t* runFlag);

// Queues a central command: runStop 0/1 (other: unchanged), mode 0..15
// (other: unchanged), set point -128..128 (other: unchanged); an address
// outside 0..255 queues nothing. Always 0.
TRAMSOLL_API int32_t setQ7ScAdrCommand(int32_t busAddress, int32_t runStop,
                                       int32_t mode, float setPoint);

// Whether a unit answered a setting request or change (1) or not (0).
// 0 ok; 1 address outside 1..255.
TRAMSOLL_API int32_t getAirconReceiveState(int32_t busAddress,
                                           int32_t* receiveState);

// Queues a setting request (230) or setting change (232) for one unit.
// 0 ok; 1 address outside 1..255; 2 other command; 3 setting number outside
// 0..255 or value outside 0..65535.
TRAMSOLL_API int32_t setAirconSendData(int32_t command, int32_t busAddress,
                                       int32_t settingNumber,
                                       int32_t settingValue,
                                       int32_t reserved);

// ---- Recording and free disk space ----

// Customer data for the header of the next recorded file.
// 0 stored; 1 periodic recording on; 2 trigger recording armed.
TRAMSOLL_API int32_t setFileHeader(const char* customerId,
                                   const char* customerName,
                                   const char* personInCharge,
                                   const char* mapName,
                                   const char* customerFolder);

// Expected header and per-record sizes of a system's recorded file.
// 0 ok; 1 not gathering; 2 the system has no unit.
TRAMSOLL_API int32_t getDataSize(int32_t systemNumber, int32_t unused,
                                 int32_t* headerBytes, int32_t* recordBytes);

// Starts (1) or stops (0) periodic recording of the selected systems.
// 0 ok; 1 not gathering; 2 already on or bad action; 4 file creation failed.
TRAMSOLL_API int32_t saveConstData(int32_t action,
                                   int32_t* systemSelection /* TRAMSOLL_BUS_ADDRESS_COUNT */,
                                   int32_t intervalSeconds);

// Stores the two trigger conditions of one item of a live unit.
// 0 ok; 1 not gathering; 2 bad class; 3 no such unit; 4 not stored.
TRAMSOLL_API int32_t setTrigCondition(int32_t systemNumber,
                                      int32_t unitClass, int32_t unitNumber,
                                      int32_t itemNumber, int32_t condition1,
                                      int32_t condition2);

// Arms (1) or stops (0) trigger recording of one system.
// 0 ok; 1 not gathering; 2 already armed or bad action; 4 file creation failed.
TRAMSOLL_API int32_t saveTrigData(int32_t action, int32_t systemNumber,
                                  int32_t minutesAfterTrigger);

// Free bytes of a drive as a 32-bit count (wraps above 4 GB).
// 0 ok; 1 the query failed.
TRAMSOLL_API int32_t getFreeDskSz(const char* rootPath, int32_t* freeBytes);

// Free space available to the caller in kilobytes and in bytes.
// 0 ok; 1 the query failed.
TRAMSOLL_API int32_t getFreeDskSzEx(const char* rootPath,
                                    int32_t* freeKilobytes,
                                    float* freeBytes);

// Starts (1) or stops (0) the bus communication log.
// 0 ok; 1 not in Q7 bus mode; 2 creating the log failed.
TRAMSOLL_API int32_t saveQ7Data(int32_t action, const char* logBaseName);

// ---- Recorded-file lists ----

// Scans a folder for recorded files and gives its listed file count.
// Always 0 (count 0 when the scan failed).
TRAMSOLL_API int32_t getFileNum(const char* customerFolder,
                                int32_t* fileCount);

// Empties the file list and closes every file opened for replay. Always 0.
TRAMSOLL_API int32_t clearFileList(void);

// Deletes a listed file from disk (it stays listed).
// 0 deleted; 1 not deleted.
TRAMSOLL_API int32_t deleteFile(const char* customerFolder,
                                int32_t fileIndex);

// Header summary of a listed file. Always 0 (empty texts and zeros for a
// file that is not listed).
TRAMSOLL_API int32_t getFileInfo(const char* customerFolder,
                                 int32_t fileIndex,
                                 char* personInCharge /* TRAMSOLL_PERSON_SIZE */,
                                 int32_t* personInChargeLength,
                                 char* mapName /* TRAMSOLL_MAP_NAME_SIZE */,
                                 int32_t* mapNameLength,
                                 int32_t* systemNumber,
                                 char* modelText /* TRAMSOLL_MODEL_TEXT_SIZE */,
                                 int32_t* modelTextLength,
                                 int32_t* recordingMode,
                                 int32_t* interfaceMode,
                                 int32_t* outdoorCount,
                                 int32_t* indoorCount,
                                 int32_t* centralCount,
                                 int32_t* startYear,
                                 int32_t* startMonth,
                                 int32_t* startDay,
                                 int32_t* startSecondOfDay,
                                 int32_t* recordCount,
                                 int32_t* triggerRecord,
                                 int32_t* intervalSeconds,
                                 int32_t* fileSize,
                                 char* fileName /* TRAMSOLL_FILE_NAME_SIZE */,
                                 int32_t* fileNameLength);

// Opens a listed file for replay.
// 0 opened; 1 cannot be opened; 2 opened with a table error.
TRAMSOLL_API int32_t selectDataFile(const char* customerFolder,
                                    int32_t fileIndex);

// Releases the replay tables of a listed file. Always 0.
TRAMSOLL_API int32_t closeDataFile(const char* customerFolder,
                                   int32_t fileIndex);

// ---- Data items and trigger conditions ----

// Item count of a unit and the record count, trigger record and interval of
// its source. 0 ok; 1 bad source; 2 live while not gathering; 4 bad unit
// kind; 5 live unit not found.
TRAMSOLL_API int32_t getDataItemNum(int32_t dataSource,
                                    const char* customerFolder,
                                    int32_t filePosition,
                                    int32_t systemNumber, int32_t unitKind,
                                    int32_t unitNumber, int32_t* itemCount,
                                    int32_t* recordCount,
                                    int32_t* triggerRecord,
                                    int32_t* intervalSeconds);

// Display description of one item of a unit and its trigger-condition codes.
// 0 ok; 1 bad source; 2 live while not gathering; 4 bad unit kind;
// 5 live unit not found; 6 item number out of range.
TRAMSOLL_API int32_t getDataItem(int32_t dataSource,
                                 const char* customerFolder,
                                 int32_t filePosition, int32_t systemNumber,
                                 int32_t unitKind, int32_t unitNumber,
                                 int32_t itemNumber,
                                 char* itemName /* TRAMSOLL_ITEM_NAME_SIZE */,
                                 int32_t* itemNameLength,
                                 char* fullScaleText /* TRAMSOLL_FULL_SCALE_TEXT_SIZE */,
                                 int32_t* fullScaleTextLength,
                                 int32_t* dataType,
                                 int32_t* defaultGraphFlag,
                                 char* stateText0 /* TRAMSOLL_STATE_TEXT_SIZE */,
                                 int32_t* stateText0Length,
                                 char* stateText1 /* TRAMSOLL_STATE_TEXT_SIZE */,
                                 int32_t* stateText1Length,
                                 int32_t* triggerCode1,
                                 int32_t* triggerCode2);

// Number of trigger conditions stored in a trigger file for one unit.
// 0 ok; 1 file not listed; 2 bad unit kind; 3 unit not in the file;
// 4 not a trigger recording.
TRAMSOLL_API int32_t getPlyTrgNum(const char* customerFolder,
                                  int32_t filePosition, int32_t unitKind,
                                  int32_t unitNumber,
                                  int32_t* conditionCount);

// One stored trigger condition (1-based) of a unit in a trigger file.
// Results as getPlyTrgNum; a number out of range gives empty outs and 0.
TRAMSOLL_API int32_t getPlyTrgItem(const char* customerFolder,
                                   int32_t filePosition, int32_t unitKind,
                                   int32_t unitNumber,
                                   int32_t conditionNumber,
                                   char* itemName /* TRAMSOLL_ITEM_NAME_SIZE */,
                                   int32_t* itemNameLength,
                                   int32_t* dataType,
                                   char* conditionText1 /* TRAMSOLL_CONDITION_TEXT_SIZE */,
                                   int32_t* conditionText1Length,
                                   char* conditionText2 /* TRAMSOLL_CONDITION_TEXT_SIZE */,
                                   int32_t* conditionText2Length);

// ---- Cursor and graph ----
// The first seven arguments select the item: data source, customer folder,
// file index, system number, unit class, unit number, item number.
// Results: 0 ok; 1 bad source; 2 live while not gathering; 3 file not opened
// or unit not in it; 4 bad class; 5 live unit not found; 6 item out of range
// or not shown; 7 record range refused.

// Value text, time text and date of one item at the cursor record
// (live data: record 121).
TRAMSOLL_API int32_t getCursData(int32_t dataSource,
                                 const char* customerFolder,
                                 int32_t fileIndex, int32_t systemNumber,
                                 int32_t unitClass, int32_t unitNumber,
                                 int32_t itemNumber, int32_t recordNumber,
                                 char* valueText /* TRAMSOLL_VALUE_TEXT_SIZE */,
                                 int32_t* valueTextLength,
                                 char* timeText /* TRAMSOLL_TIME_TEXT_SIZE */,
                                 int32_t* year, int32_t* month,
                                 int32_t* day, int32_t* secondOfDay);

// Graph values (percent of full scale, or 0/1) of one item over up to 121
// records (live data: first 1, count 121).
TRAMSOLL_API int32_t getGraphData(int32_t dataSource,
                                  const char* customerFolder,
                                  int32_t fileIndex, int32_t systemNumber,
                                  int32_t unitClass, int32_t unitNumber,
                                  int32_t itemNumber, int32_t firstRecord,
                                  int32_t recordCount,
                                  int32_t* graphValues /* TRAMSOLL_GRAPH_RECORD_COUNT */);

// Value texts of one item over up to 121 records, one 10-byte slot each.
TRAMSOLL_API int32_t getGraphData2(int32_t dataSource,
                                   const char* customerFolder,
                                   int32_t fileIndex, int32_t systemNumber,
                                   int32_t unitClass, int32_t unitNumber,
                                   int32_t itemNumber, int32_t firstRecord,
                                   int32_t recordCount,
                                   char* valueTexts /* TRAMSOLL_GRAPH_RECORD_COUNT slots of TRAMSOLL_GRAPH_TEXT_SLOT_SIZE */);

// ---- Searches ----

// Prepares a min/max search of one item over a file opened for replay.
// 0 prepared; 1 no such unit or file not opened; 2 bad class;
// 3 item out of range or not shown.
TRAMSOLL_API int32_t setMinMaxSrch(const char* customerFolder,
                                   int32_t fileIndex, int32_t unitClass,
                                   int32_t unitNumber, int32_t itemNumber);

// Runs the min/max search over up to 32 records.
// 0 finished (progress 100); 1 call again.
TRAMSOLL_API int32_t execMinMaxSrch(int32_t* progressPercent);

// Minimum and maximum found. 0 ok; 1 search not finished (both 0).
TRAMSOLL_API int32_t getMinMaxData(float* minimum, float* maximum);

// Prepares a value search from a start record: searchFlag 0 finds a value at
// or below, other values at or above the comparison value.
// 0 prepared; 1 no such unit; 2 bad class; 3 item or start record out of range.
TRAMSOLL_API int32_t setDataSrch(const char* customerFolder,
                                 int32_t fileIndex, int32_t unitClass,
                                 int32_t unitNumber, int32_t itemNumber,
                                 int32_t startRecord, int32_t searchFlag,
                                 float comparisonValue);

// Runs the value search over up to 32 records.
// 0 found (1-based record); 1 not found or already finished;
// 2 call again (position reached).
TRAMSOLL_API int32_t execDataSrch(int32_t* recordNumber);

// ---- CSV ----

// Prepares the CSV conversion of a listed file: output path stem and the 31
// heading words written into the files.
// 0 set up; 1 file cannot be opened; 2 opened with a table error.
TRAMSOLL_API int32_t setCsvFile(const char* customerFolder,
                                int32_t filePosition,
                                const char* basePath,
                                const char* customerIdLabel,
                                const char* customerNameLabel,
                                const char* personInChargeLabel,
                                const char* accessMethodLabel,
                                const char* busAccessText,
                                const char* boardAccessText,
                                const char* sensorOnlyAccessText,
                                const char* busSensorAccessText,
                                const char* boardSensorAccessText,
                                const char* recordingModeLabel,
                                const char* periodicModeText,
                                const char* triggerModeText,
                                const char* triggerTimeLabel,
                                const char* intervalLabel,
                                const char* mapNameLabel,
                                const char* systemNumberLabel,
                                const char* romNumberLabel,
                                const char* outdoorCountLabel,
                                const char* indoorCountLabel,
                                const char* centralCountLabel,
                                const char* unitNumberLabel,
                                const char* modelNameLabel,
                                const char* serialNumberLabel,
                                const char* installPlaceLabel,
                                const char* autoAddressLabel,
                                const char* zubrelAddressLabel,
                                const char* centralAddressLabel,
                                const char* outdoorPrefix,
                                const char* indoorPrefix,
                                const char* centralPrefix,
                                const char* sensorPrefix);

// Writes the next slice of the CSV conversion.
// 0 finished (progress 100); 1 call again; 2 nothing set up;
// 3 creating a CSV file failed.
TRAMSOLL_API int32_t execCsvOut(int32_t* progressPercent);

// Date range ("yyyy/mm/dd hh:mm:ss") and options for CSV conversion:
// flags bit 0 header rows, bit 1 all data. Result carries no information.
TRAMSOLL_API int32_t CsvDateSet(const char* fromText, const char* toText,
                                int32_t flags);

#ifdef __cplusplus
}
#endif

#endif

// The library's exports as one list, so the facade, the bound library and the
// test fake are all generated from the same names and parameter lists.
// Each entry: X(name, (parameters as declared in tramsoll.h), (argument names)).
// The bound library checks every entry against tramsoll.h at compile time.
#pragma once

#include <stdint.h>

#define TRAMSOLL_EXPORTS(X) \
  X(execTramsoll, (int32_t* constSaving, int32_t* trigState), (constSaving, trigState)) \
  X(getDebugMessage, (char* message, int32_t* messageLength), (message, messageLength)) \
  X(initTramsoll, (), ()) \
  X(checkKishuTbl, (), ()) \
  X(getSetFileVer, \
    (char* setFileVersion, int32_t* setFileVersionLength, char* setFileDate, \
    int32_t* setFileDateLength, char* libraryVersion, int32_t* libraryVersionLength, \
    char* libraryDate, int32_t* libraryDateLength), \
    (setFileVersion, setFileVersionLength, setFileDate, setFileDateLength, libraryVersion, \
    libraryVersionLength, libraryDate, libraryDateLength)) \
  X(setTmpUnit, (int32_t unitFlag), (unitFlag)) \
  X(setCentralOperation, (int32_t centralOperation), (centralOperation)) \
  X(getControlDataChangeMode, \
    (int32_t* changeMode, char* password, int32_t* passwordLength), \
    (changeMode, password, passwordLength)) \
  X(getRAMKishuNum, (int32_t rowKind, int32_t* rowCount), (rowKind, rowCount)) \
  X(getRAMKishuName, \
    (int32_t rowKind, int32_t rowIndex, char* modelName, int32_t* modelNameLength), \
    (rowKind, rowIndex, modelName, modelNameLength)) \
  X(getKishuKouho, \
    (const char* modelKey, char* candidateNames, int32_t* candidateNamesLength, \
    int32_t* candidateCount), \
    (modelKey, candidateNames, candidateNamesLength, candidateCount)) \
  X(ReadINIfile, (const char* keyName), (keyName)) \
  X(WriteINIfile, (const char* keyName, int32_t keyValue), (keyName, keyValue)) \
  X(initDataGather, \
    (int32_t command, int32_t comPort, int32_t toolGeneration, int32_t interfaceMode, \
    int32_t initialScan, const char* targetName, int32_t intervalSeconds), \
    (command, comPort, toolGeneration, interfaceMode, initialScan, targetName, intervalSeconds)) \
  X(changeDataGather, (int32_t interfaceMode), (interfaceMode)) \
  X(getQ7AuAdrStatus, \
    (int32_t unitClass, int32_t* discoveryStates, int32_t* rowCounts, int32_t* unitStates, \
    int32_t* romNumbers, int32_t* zubrelAddresses), \
    (unitClass, discoveryStates, rowCounts, unitStates, romNumbers, zubrelAddresses)) \
  X(getQ7AuAdrInfo, \
    (int32_t unitClass, int32_t busAddress, int32_t rowIndex, char* modelName, \
    int32_t* modelNameLength), \
    (unitClass, busAddress, rowIndex, modelName, modelNameLength)) \
  X(setNetMapInfo, \
    (int32_t unitClass, int32_t busAddress, int32_t rowIndex, int32_t unitNumber, \
    int32_t systemNumber, int32_t controlAddress, const char* modelText, \
    const char* serialNumberText, const char* installPlaceText), \
    (unitClass, busAddress, rowIndex, unitNumber, systemNumber, controlAddress, modelText, \
    serialNumberText, installPlaceText)) \
  X(setDkishuName, \
    (int32_t unitClass, int32_t busAddress, int32_t rowIndex, const char* modelName), \
    (unitClass, busAddress, rowIndex, modelName)) \
  X(getSensorSwPos, (int32_t* switch1, int32_t* switch2), (switch1, switch2)) \
  X(setSensorParm, \
    (int32_t channel, int32_t usedFlag, const char* itemName, int32_t switchPosition, int32_t range, \
    int32_t offset, int32_t fullScale, const char* unitText), \
    (channel, usedFlag, itemName, switchPosition, range, offset, fullScale, unitText)) \
  X(getQ7ScAdrInfo, \
    (int32_t* unitPresence, int32_t* controlStates, int32_t* centralControlFlag, \
    int32_t* forcedStopFlag), \
    (unitPresence, controlStates, centralControlFlag, forcedStopFlag)) \
  X(getQ7ScAdrStatus, \
    (int32_t busAddress, int32_t* mode, float* setPoint, char* errorCode, int32_t* pendingFlag, \
    int32_t* runFlag), \
    (busAddress, mode, setPoint, errorCode, pendingFlag, runFlag)) \
  X(setQ7ScAdrCommand, \
    (int32_t busAddress, int32_t runStop, int32_t mode, float setPoint), \
    (busAddress, runStop, mode, setPoint)) \
  X(getAirconReceiveState, (int32_t busAddress, int32_t* receiveState), (busAddress, receiveState)) \
  X(setAirconSendData, \
    (int32_t command, int32_t busAddress, int32_t settingNumber, int32_t settingValue, \
    int32_t reserved), \
    (command, busAddress, settingNumber, settingValue, reserved)) \
  X(setFileHeader, \
    (const char* customerId, const char* customerName, const char* personInCharge, \
    const char* mapName, const char* customerFolder), \
    (customerId, customerName, personInCharge, mapName, customerFolder)) \
  X(getDataSize, \
    (int32_t systemNumber, int32_t unused, int32_t* headerBytes, int32_t* recordBytes), \
    (systemNumber, unused, headerBytes, recordBytes)) \
  X(saveConstData, \
    (int32_t action, int32_t* systemSelection, int32_t intervalSeconds), \
    (action, systemSelection, intervalSeconds)) \
  X(setTrigCondition, \
    (int32_t systemNumber, int32_t unitClass, int32_t unitNumber, int32_t itemNumber, \
    int32_t condition1, int32_t condition2), \
    (systemNumber, unitClass, unitNumber, itemNumber, condition1, condition2)) \
  X(saveTrigData, \
    (int32_t action, int32_t systemNumber, int32_t minutesAfterTrigger), \
    (action, systemNumber, minutesAfterTrigger)) \
  X(getFreeDskSz, (const char* rootPath, int32_t* freeBytes), (rootPath, freeBytes)) \
  X(getFreeDskSzEx, \
    (const char* rootPath, int32_t* freeKilobytes, float* freeBytes), \
    (rootPath, freeKilobytes, freeBytes)) \
  X(saveQ7Data, (int32_t action, const char* logBaseName), (action, logBaseName)) \
  X(getFileNum, (const char* customerFolder, int32_t* fileCount), (customerFolder, fileCount)) \
  X(clearFileList, (), ()) \
  X(deleteFile, (const char* customerFolder, int32_t fileIndex), (customerFolder, fileIndex)) \
  X(getFileInfo, \
    (const char* customerFolder, int32_t fileIndex, char* personInCharge, \
    int32_t* personInChargeLength, char* mapName, int32_t* mapNameLength, int32_t* systemNumber, \
    char* modelText, int32_t* modelTextLength, int32_t* recordingMode, int32_t* interfaceMode, \
    int32_t* outdoorCount, int32_t* indoorCount, int32_t* centralCount, int32_t* startYear, \
    int32_t* startMonth, int32_t* startDay, int32_t* startSecondOfDay, int32_t* recordCount, \
    int32_t* triggerRecord, int32_t* intervalSeconds, int32_t* fileSize, char* fileName, \
    int32_t* fileNameLength), \
    (customerFolder, fileIndex, personInCharge, personInChargeLength, mapName, mapNameLength, \
    systemNumber, modelText, modelTextLength, recordingMode, interfaceMode, outdoorCount, \
    indoorCount, centralCount, startYear, startMonth, startDay, startSecondOfDay, recordCount, \
    triggerRecord, intervalSeconds, fileSize, fileName, fileNameLength)) \
  X(selectDataFile, (const char* customerFolder, int32_t fileIndex), (customerFolder, fileIndex)) \
  X(closeDataFile, (const char* customerFolder, int32_t fileIndex), (customerFolder, fileIndex)) \
  X(getDataItemNum, \
    (int32_t dataSource, const char* customerFolder, int32_t filePosition, int32_t systemNumber, \
    int32_t unitKind, int32_t unitNumber, int32_t* itemCount, int32_t* recordCount, \
    int32_t* triggerRecord, int32_t* intervalSeconds), \
    (dataSource, customerFolder, filePosition, systemNumber, unitKind, unitNumber, itemCount, \
    recordCount, triggerRecord, intervalSeconds)) \
  X(getDataItem, \
    (int32_t dataSource, const char* customerFolder, int32_t filePosition, int32_t systemNumber, \
    int32_t unitKind, int32_t unitNumber, int32_t itemNumber, char* itemName, \
    int32_t* itemNameLength, char* fullScaleText, int32_t* fullScaleTextLength, int32_t* dataType, \
    int32_t* defaultGraphFlag, char* stateText0, int32_t* stateText0Length, char* stateText1, \
    int32_t* stateText1Length, int32_t* triggerCode1, int32_t* triggerCode2), \
    (dataSource, customerFolder, filePosition, systemNumber, unitKind, unitNumber, itemNumber, \
    itemName, itemNameLength, fullScaleText, fullScaleTextLength, dataType, defaultGraphFlag, \
    stateText0, stateText0Length, stateText1, stateText1Length, triggerCode1, triggerCode2)) \
  X(getPlyTrgNum, \
    (const char* customerFolder, int32_t filePosition, int32_t unitKind, int32_t unitNumber, \
    int32_t* conditionCount), \
    (customerFolder, filePosition, unitKind, unitNumber, conditionCount)) \
  X(getPlyTrgItem, \
    (const char* customerFolder, int32_t filePosition, int32_t unitKind, int32_t unitNumber, \
    int32_t conditionNumber, char* itemName, int32_t* itemNameLength, int32_t* dataType, \
    char* conditionText1, int32_t* conditionText1Length, char* conditionText2, \
    int32_t* conditionText2Length), \
    (customerFolder, filePosition, unitKind, unitNumber, conditionNumber, itemName, itemNameLength, \
    dataType, conditionText1, conditionText1Length, conditionText2, conditionText2Length)) \
  X(getCursData, \
    (int32_t dataSource, const char* customerFolder, int32_t fileIndex, int32_t systemNumber, \
    int32_t unitClass, int32_t unitNumber, int32_t itemNumber, int32_t recordNumber, \
    char* valueText, int32_t* valueTextLength, char* timeText, int32_t* year, int32_t* month, \
    int32_t* day, int32_t* secondOfDay), \
    (dataSource, customerFolder, fileIndex, systemNumber, unitClass, unitNumber, itemNumber, \
    recordNumber, valueText, valueTextLength, timeText, year, month, day, secondOfDay)) \
  X(getGraphData, \
    (int32_t dataSource, const char* customerFolder, int32_t fileIndex, int32_t systemNumber, \
    int32_t unitClass, int32_t unitNumber, int32_t itemNumber, int32_t firstRecord, \
    int32_t recordCount, int32_t* graphValues), \
    (dataSource, customerFolder, fileIndex, systemNumber, unitClass, unitNumber, itemNumber, \
    firstRecord, recordCount, graphValues)) \
  X(getGraphData2, \
    (int32_t dataSource, const char* customerFolder, int32_t fileIndex, int32_t systemNumber, \
    int32_t unitClass, int32_t unitNumber, int32_t itemNumber, int32_t firstRecord, \
    int32_t recordCount, char* valueTexts), \
    (dataSource, customerFolder, fileIndex, systemNumber, unitClass, unitNumber, itemNumber, \
    firstRecord, recordCount, valueTexts)) \
  X(setMinMaxSrch, \
    (const char* customerFolder, int32_t fileIndex, int32_t unitClass, int32_t unitNumber, \
    int32_t itemNumber), \
    (customerFolder, fileIndex, unitClass, unitNumber, itemNumber)) \
  X(execMinMaxSrch, (int32_t* progressPercent), (progressPercent)) \
  X(getMinMaxData, (float* minimum, float* maximum), (minimum, maximum)) \
  X(setDataSrch, \
    (const char* customerFolder, int32_t fileIndex, int32_t unitClass, int32_t unitNumber, \
    int32_t itemNumber, int32_t startRecord, int32_t searchFlag, float comparisonValue), \
    (customerFolder, fileIndex, unitClass, unitNumber, itemNumber, startRecord, searchFlag, \
    comparisonValue)) \
  X(execDataSrch, (int32_t* recordNumber), (recordNumber)) \
  X(setCsvFile, \
    (const char* customerFolder, int32_t filePosition, const char* basePath, \
    const char* customerIdLabel, const char* customerNameLabel, const char* personInChargeLabel, \
    const char* accessMethodLabel, const char* busAccessText, const char* boardAccessText, \
    const char* sensorOnlyAccessText, const char* busSensorAccessText, \
    const char* boardSensorAccessText, const char* recordingModeLabel, const char* periodicModeText, \
    const char* triggerModeText, const char* triggerTimeLabel, const char* intervalLabel, \
    const char* mapNameLabel, const char* systemNumberLabel, const char* romNumberLabel, \
    const char* outdoorCountLabel, const char* indoorCountLabel, const char* centralCountLabel, \
    const char* unitNumberLabel, const char* modelNameLabel, const char* serialNumberLabel, \
    const char* installPlaceLabel, const char* autoAddressLabel, const char* zubrelAddressLabel, \
    const char* centralAddressLabel, const char* outdoorPrefix, const char* indoorPrefix, \
    const char* centralPrefix, const char* sensorPrefix), \
    (customerFolder, filePosition, basePath, customerIdLabel, customerNameLabel, personInChargeLabel, \
    accessMethodLabel, busAccessText, boardAccessText, sensorOnlyAccessText, busSensorAccessText, \
    boardSensorAccessText, recordingModeLabel, periodicModeText, triggerModeText, triggerTimeLabel, \
    intervalLabel, mapNameLabel, systemNumberLabel, romNumberLabel, outdoorCountLabel, \
    indoorCountLabel, centralCountLabel, unitNumberLabel, modelNameLabel, serialNumberLabel, \
    installPlaceLabel, autoAddressLabel, zubrelAddressLabel, centralAddressLabel, outdoorPrefix, \
    indoorPrefix, centralPrefix, sensorPrefix)) \
  X(execCsvOut, (int32_t* progressPercent), (progressPercent)) \
  X(CsvDateSet, \
    (const char* fromText, const char* toText, int32_t flags), \
    (fromText, toText, flags))

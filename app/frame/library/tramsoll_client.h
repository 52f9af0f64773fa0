// The library's exports that hand back texts, as the windows want them:
// QStrings and small structs. The client sizes every buffer by the
// library's own capacities and decodes every text, so no window does either.
// It calls whatever TramsollApi is installed, so the fake of the tests
// stands in for the library here too.
#pragma once

#include "frame/library/tramsoll_api.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// The unit whose items are asked for: data source (0 live, 1 a recorded
// file), the file (customer folder and 1-based position), system, unit kind
// and unit number.
struct ItemSource {
  int32_t dataSource = 0;
  QString customerFolder;
  int32_t filePosition = 0;
  int32_t systemNumber = 0;
  int32_t unitKind = 0;
  int32_t unitNumber = 0;
};

// A text export's result and its text.
struct LibraryText {
  int32_t result = 0;
  QString text;
};

struct FileVersions {
  int32_t result = 0;
  QString setFileVersion;
  QString setFileDate;
  QString libraryVersion;
  QString libraryDate;
};

struct ControlChangeMode {
  int32_t result = 0;
  int32_t mode = 0;
  QString password;
};

struct ModelCandidates {
  int32_t result = 0;
  QStringList names;
};

struct CentralStatus {
  int32_t result = 0;
  int32_t mode = 0;
  float setPoint = 0;
  QString errorCode;
  int32_t pendingFlag = 0;
  int32_t runFlag = 0;
};

struct RecordedFileInfo {
  int32_t result = 0;
  QString personInCharge;
  QString mapName;
  int32_t systemNumber = 0;
  QString modelText;
  int32_t recordingMode = 0;
  int32_t interfaceMode = 0;
  int32_t outdoorCount = 0;
  int32_t indoorCount = 0;
  int32_t centralCount = 0;
  int32_t startYear = 0;
  int32_t startMonth = 0;
  int32_t startDay = 0;
  int32_t startSecondOfDay = 0;
  int32_t recordCount = 0;
  int32_t triggerRecord = 0;
  int32_t intervalSeconds = 0;
  int32_t fileSize = 0;
  QString fileName;
};

struct DataItemInfo {
  int32_t result = 0;
  QString itemName;
  QString fullScaleText;
  int32_t dataType = 0;
  int32_t defaultGraphFlag = 0;
  QString stateText0;
  QString stateText1;
  int32_t triggerCode1 = 0;
  int32_t triggerCode2 = 0;
};

struct TriggerItemInfo {
  int32_t result = 0;
  QString itemName;
  int32_t dataType = 0;
  QString conditionText1;
  QString conditionText2;
};

struct CursorTexts {
  int32_t result = 0;
  QString valueText;
  QString timeText;
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
  int32_t secondOfDay = 0;
};

struct GraphTexts {
  int32_t result = 0;
  QStringList valueTexts;  // one per record asked for
};

// One unit as the library enters it into its unit tables (setNetMapInfo):
// unit kind, bus address, sub-number, unit number, system number as the
// library counts systems, control address (-1 none), and the unit's
// customer-record texts.
struct NetMapUnit {
  int32_t unitKind = 0;
  int32_t busAddress = 0;
  int32_t subNumber = 1;
  int32_t unitNumber = 0;
  int32_t systemNumber = 0;
  int32_t controlAddress = -1;
  QString model;
  QString serialNumber;
  QString place;
};

// The customer data for the header of the next recorded file; the folder
// ends in "/".
struct FileHeaderTexts {
  QString customerId;
  QString customerName;
  QString personInCharge;
  QString mapName;
  QString customerFolder;
};

class TramsollClient {
 public:
  explicit TramsollClient(TramsollApi& api = tramsollApi()) : api_(api) {}

  FileVersions fileVersions();
  ControlChangeMode controlDataChangeMode();
  // The oldest diagnostic line, or none when the library holds none.
  std::optional<QString> nextDebugMessage();
  LibraryText ramModelName(int32_t rowKind, int32_t rowIndex);
  // The candidate names, each of which the library ends with a comma (a
  // text after the last comma is no name), without the commas.
  ModelCandidates modelCandidates(const QString& modelKey);
  LibraryText unitModelName(int32_t unitClass, int32_t busAddress, int32_t rowIndex);
  CentralStatus centralStatus(int32_t busAddress);
  RecordedFileInfo fileInfo(const QString& customerFolder, int32_t fileIndex);
  DataItemInfo dataItem(const ItemSource& source, int32_t itemNumber);
  TriggerItemInfo triggerItem(const QString& customerFolder, int32_t filePosition, int32_t unitKind,
                              int32_t unitNumber, int32_t conditionNumber);
  CursorTexts cursorData(const ItemSource& source, int32_t itemNumber, int32_t recordNumber);
  // At most one graph call's records (TRAMSOLL_GRAPH_RECORD_COUNT); a count
  // outside that is refused without asking the library (result -1). Each
  // text is read from a zeroed slot, at most its first nine bytes.
  GraphTexts graphTexts(const ItemSource& source, int32_t itemNumber, int32_t firstRecord, int32_t recordCount);
  // Sets up the CSV conversion of a listed file into files beside the base
  // path, their header rows worded by the 31 heading texts (missing ones
  // go as ""); the library's answer, 0 when the conversion is set up.
  int32_t setCsvFile(const QString& customerFolder, int32_t filePosition, const QString& basePath,
                     const QStringList& headingTexts);

  // Texts to the library: each is cut on a character boundary to its field
  // less the terminator. An empty model, serial number, place, customer id,
  // name or person goes as one blank, which the library takes for none; the
  // map name goes as it is. A folder that does not fit its field is refused
  // (kRefused) without asking the library.
  int32_t netMapInfo(const NetMapUnit& unit);
  int32_t dkishuName(int32_t unitKind, int32_t busAddress, int32_t subNumber, const QString& model);
  int32_t fileHeader(const FileHeaderTexts& header);

  static constexpr int32_t kRefused = -1;

 private:
  TramsollApi& api_;
};

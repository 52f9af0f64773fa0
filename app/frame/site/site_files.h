// The customer record and the service-station record in memory, and their
// files: <id>/<id>.dak in a folder named after the customer id, and
// pelomar3.dam, both in the program folder. Folder and file names are found
// without regard to case.
#pragma once

#include "frame/file_operations.h"
#include "frame/site/record_fields.h"
#include "types/CustomInfor.h"
#include "types/DataManageInfor.h"

#include <QByteArray>
#include <QString>

// What a file routine did; the message says why it failed. A damaged file
// also gives its name, the line at fault (0: none) and a short excerpt of
// that line that can be shown whatever the file holds; a failed file
// operation its errno (outcome).
struct SiteFileResult {
  bool ok = true;
  QString message;
  QString fileName;
  int line = 0;
  QString excerpt;
  FileOutcome outcome;
  explicit operator bool() const { return ok; }
  static SiteFileResult failure(const QString& message) { return {false, message, {}, 0, {}, {}}; }
  static SiteFileResult failure(const FileOutcome& outcome, const QString& message) {
    return {false, message, {}, 0, {}, outcome};
  }
};

// The one customer record and the one service-station record, each created
// on first use and released by releaseCustomerInfo / clearServiceStationInfo.
CustomInfor& currentCustomer();
DataManageInfor& serviceShop();

// False for an id that cannot name a folder of the program folder or could
// lead out of it: empty, "." or "..", or holding "/", "\" or a control
// character; and one holding '"', which the customer file cannot store
// (its writer turns it into "'"). There is no length limit.
bool isUsableCustomerId(const QString& id);

// Reads pelomar3.dam into serviceShop when the file exists (no file: ok,
// nothing changes). A damaged file changes nothing and fails.
SiteFileResult loadServiceStationFile();
// Writes serviceShop to pelomar3.dam; a failed write keeps the old file.
SiteFileResult saveServiceStationFile();
void clearServiceStationInfo();

// Writes currentCustomer to <id>/<id>.dak, making the folder when missing.
// Nothing is written for an empty or unusable id or a badly numbered map
// tree; a failed write keeps the old file.
SiteFileResult saveCustomerFile();
// Reads <id>/<id>.dak into currentCustomer. A damaged file fails and leaves
// currentCustomer as it was.
SiteFileResult loadCustomerFile(const QString& id);
// The customer name stored in folder/<last part of folder>.dak; "" when the
// file cannot be read or ends before it.
QString readCustomerName(const QString& folder);
void clearCustomerInfo();
void releaseCustomerInfo();

// The text of pelomar3.dam for a station record, and its reading into a new
// record. A head that is not a number is damage, and so is a file that ends
// before the two head numbers and the four station texts or inside a
// record; the persons in charge carry no count.
QByteArray serviceStationText(const DataManageInfor& station, int32_t major, int32_t minor);
bool readServiceStationText(const QByteArray& text, DataManageInfor& station, ReadFault& fault);

// Replaces a file through a temporary file in the same folder, so that a
// failed write leaves the old file as it was.
SiteFileResult replaceFile(const QString& path, const QByteArray& content);

#include "frame/site/site_files.h"

#include "frame/folder_texts.h"
#include "frame/program_values.h"
#include "frame/regular_file.h"
#include "frame/site/customer_file.h"
#include "frame/site/paths.h"
#include "frame/site/record_fields.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace {

const QString kStationFileName = QStringLiteral("pelomar3.dam");

std::unique_ptr<CustomInfor>& customerHolder() {
  static std::unique_ptr<CustomInfor> customer;
  return customer;
}

std::unique_ptr<DataManageInfor>& stationHolder() {
  static std::unique_ptr<DataManageInfor> station;
  return station;
}

SiteFileResult readWholeFile(const QString& path, QByteArray& content) {
  RegularFileRead file = readRegularFile(path);
  if (!file) {
    const QString failed =
        file.opened ? QStringLiteral("%1 cannot be read: %2") : QStringLiteral("%1 cannot be opened: %2");
    return SiteFileResult::failure(failed.arg(path, file.reason()));
  }
  content = std::move(file.content);
  return {};
}

QString customerFilePath(const QString& folder, const QString& id) {
  return resolveNoCase(folder, id + QStringLiteral(".dak"), EntryKind::File);
}

SiteFileResult refuseId(const QString& id) {
  return SiteFileResult::failure(QStringLiteral("The customer ID \"%1\" cannot name a folder.").arg(id));
}

SiteFileResult damaged(const QString& path, const QByteArray& content, const ReadFault& fault) {
  const QString name = QFileInfo(path).fileName();
  SiteFileResult result = SiteFileResult::failure(QStringLiteral("%1 is damaged (%2).").arg(name, fault.text()));
  result.fileName = name;
  result.line = fault.line;
  result.excerpt = printableExcerpt(lineOfText(content, fault.line));
  return result;
}

// Reads a file into a new record and puts it in place of `target` only when
// the whole file read well.
template <class Record>
SiteFileResult loadRecord(const QString& path, Record& target,
                          bool (*parse)(const QByteArray&, Record&, ReadFault&)) {
  QByteArray content;
  if (SiteFileResult read = readWholeFile(path, content); !read) return read;
  Record fresh;
  ReadFault fault;
  if (!parse(content, fresh, fault)) return damaged(path, content, fault);
  target = std::move(fresh);
  return {};
}

}  // namespace

CustomInfor& currentCustomer() {
  auto& customer = customerHolder();
  if (!customer) customer = std::make_unique<CustomInfor>();
  return *customer;
}

DataManageInfor& serviceShop() {
  auto& station = stationHolder();
  if (!station) station = std::make_unique<DataManageInfor>();
  return *station;
}

bool isUsableCustomerId(const QString& id) {
  if (id.isEmpty() || id == QLatin1String(".") || id == QLatin1String("..")) return false;
  for (const QChar c : id) {
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('"')) return false;
    if (c.category() == QChar::Other_Control) return false;
  }
  return true;
}

SiteFileResult replaceFile(const QString& path, const QByteArray& content) {
  const FileOutcome written = replaceFileContent(path, content);
  if (written) return {};
  return SiteFileResult::failure(written,
                                 QStringLiteral("%1 cannot be written: %2").arg(path, errnoDescription(written.error)));
}

// ---- Service station ----

QByteArray serviceStationText(const DataManageInfor& station, int32_t major, int32_t minor) {
  RecordWriter out;
  out.number(major).number(minor).endRecord();
  for (const QString* field : {&station.ssName, &station.ssAddress, &station.ssTel, &station.ssFax}) {
    out.text(*field).endRecord();
  }
  for (int i = 1; i <= station.ssChargeMen.count(); ++i) out.text(*station.ssChargeMen.item(i)).endRecord();
  return out.bytes();
}

bool readServiceStationText(const QByteArray& text, DataManageInfor& station, ReadFault& fault) {
  RecordReader in(text, fault);
  int32_t head = 0;
  if (!in.number(head, "head number") || !in.number(head, "head number")) return false;
  for (QString* field : {&station.ssName, &station.ssAddress, &station.ssTel, &station.ssFax}) {
    if (!in.text(*field)) return false;
  }
  for (int position = 1; in.more(); ++position) {
    QString person;
    if (!in.text(person)) return false;
    station.ssChargeMen.add(std::make_shared<QString>(person), QString::number(position));
  }
  return true;
}

SiteFileResult loadServiceStationFile() {
  const QString path = resolveNoCase(programFolder(), kStationFileName, EntryKind::File);
  // No station file yet: the station's fields stay empty. Anything else of
  // that name goes to the reader, which says why it cannot be read.
  if (pathKind(path) == PathKind::Absent) return {};
  return loadRecord(path, serviceShop(), readServiceStationText);
}

SiteFileResult saveServiceStationFile() {
  const ProgramValues& values = program();
  const QByteArray text = serviceStationText(serviceShop(), values.siteFileVersionMajor, values.siteFileVersionMinor);
  return replaceFile(resolveNoCase(programFolder(), kStationFileName, EntryKind::File), text);
}

void clearServiceStationInfo() {
  if (stationHolder()) stationHolder()->ssChargeMen.clear();
  stationHolder().reset();
}

// ---- Customer ----

SiteFileResult saveCustomerFile() {
  const CustomInfor& customer = currentCustomer();
  if (customer.id.isEmpty()) return SiteFileResult::failure(QStringLiteral("The customer has no ID."));
  if (!isUsableCustomerId(customer.id)) return refuseId(customer.id);
  QByteArray text;
  QString error;
  const ProgramValues& values = program();
  if (!writeCustomerText(customer, values.siteFileVersionMajor, values.siteFileVersionMinor, text, error)) {
    return SiteFileResult::failure(error);
  }
  const QString folder = customerFolderPath(customer.id);
  if (!QDir(folder).exists()) {
    const FileOutcome made = makeFolder(folder);
    if (!made) return SiteFileResult::failure(made, QStringLiteral("The folder %1 cannot be made.").arg(folder));
  }
  return replaceFile(customerFilePath(folder, customer.id), text);
}

SiteFileResult loadCustomerFile(const QString& id) {
  if (!isUsableCustomerId(id)) return refuseId(id);
  return loadRecord(customerFilePath(customerFolderPath(id), id), currentCustomer(), readCustomerText);
}

QString readCustomerName(const QString& folder) {
  const QString lastPart = QDir(folder).dirName();
  QByteArray content;
  if (!readWholeFile(customerFilePath(folder, lastPart), content)) return QString();
  ReadFault fault;
  RecordReader in(content, fault);
  QString field;
  // Two head numbers, the id, then the name, which must be whole.
  for (int i = 0; i < 4; ++i) {
    if (!in.text(field)) return QString();
  }
  return field;
}

void clearCustomerInfo() {
  CustomInfor& customer = currentCustomer();
  for (QString* field : {&customer.id, &customer.name, &customer.post, &customer.chargeMan, &customer.address,
                         &customer.telNumber, &customer.faxNumber, &customer.others}) {
    field->clear();
  }
  // The maps may be held elsewhere too (the map window): they are emptied,
  // not only let go.
  for (const auto& map : customer.q7nets) {
    for (const auto& system : map->systems) {
      system->airconsOut.clear();
      system->airconsIn.clear();
    }
    map->systems.clear();
    for (const auto& system : map->systemsCen) system->airconsCen.clear();
    map->systemsCen.clear();
    map->linkAircons.clear();
    for (const auto& system : map->systemsSen) system->airconsSen.clear();
    map->systemsSen.clear();
  }
  customer.q7nets.clear();
}

void releaseCustomerInfo() {
  clearCustomerInfo();
  customerHolder().reset();
}

// demo-data FOLDER [HOME]: writes the demo data into the program folder
// FOLDER, replacing what an earlier run wrote:
//   Acme/Acme.dak    customer "Acme Corp" with the map "Main building" of
//                    the sample installation, a periodic recording of system
//                    1 and a trigger recording of it with stored conditions;
//   Beta/Beta.dak    customer "Beta Ltd" without a map, a day of system 2
//                    recorded every 5 s (the largest one to export);
//   central.das      a periodic recording of the central system without a
//                    customer, in the program folder itself;
// removes the CSV files an earlier export wrote under the default name
// (csv/data_Ou01.csv and the like), so that the first export asks nothing,
// and the periodic recordings without a customer (const*.das) and bus logs
// (q7data/*.dl2) an earlier run of the map wrote, so that their starts ask
// nothing either;
// and, given a home folder HOME, Acme/Acme.dak and a shorter periodic
// recording of the same name there, which the data transfer asks about.
#include "das_gen.h"
#include "frame/site/paths.h"
#include "frame/site/site_files.h"
#include "records/csv_output_files.h"
#include "sample_units.h"
#include "types/unit_kinds.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

namespace {

namespace das = tramsoll::das;

constexpr std::time_t kMorning = 1714554000;  // 2024-05-01 09:00:00 UTC

struct UnitOnMap {
  int32_t type;
  int32_t number;
  int32_t address;
  int32_t zubrel;
  int32_t rom;
  const char* model;
};

std::shared_ptr<MapAircon> addUnit(MapQ7net& map, Collection<MapAircon>& units, const UnitOnMap& on) {
  auto link = std::make_shared<LinkAircon>();
  link->linkNo = map.linkAircons.count() + 1;
  link->kind = QString::fromLatin1(on.model);
  link->place = QStringLiteral("Floor %1").arg(link->linkNo);
  link->controlAddress = -1;
  map.linkAircons.add(link, QString::number(link->linkNo));
  auto unit = std::make_shared<MapAircon>();
  unit->airconNumber = on.number;
  unit->airconType = on.type;
  unit->autoAddress = on.address;
  unit->airconSubNo = 1;
  unit->zubrelAddress = on.zubrel;
  unit->romNumber = on.rom;
  unit->onLine = 3;
  unit->generalKind = link->kind;
  unit->linkNoNow = link->linkNo;
  units.add(unit, on.type == kIndoorUnit ? QString() : QString::number(on.number));
  return unit;
}

std::shared_ptr<MapSystem> addSystem(Collection<MapSystem>& systems) {
  auto system = std::make_shared<MapSystem>();
  system->systemNumber = systems.count() + 1;
  systems.add(system, QString::number(system->systemNumber));
  return system;
}

// The sample installation as a bus scan maps it: system 1 of outdoor unit 1
// with indoor units 17 and 18, system 2 of outdoor unit 2 with indoor unit
// 19, and the central unit 32.
std::shared_ptr<MapQ7net> sampleInstallationMap() {
  auto map = std::make_shared<MapQ7net>();
  map->customName = QStringLiteral("Acme Corp");
  map->mapName = QStringLiteral("Main building");
  map->mapNumber = 1;
  map->mapIndex = 1;
  map->ifMode = 2;
  map->saveYear = 2024;
  map->saveMonth = 5;
  map->saveDay = 1;
  auto first = addSystem(map->systems);
  addUnit(*map, first->airconsOut, {kOutdoorUnit, 1, 1, 1, 0x101, "TALMA-224"});
  addUnit(*map, first->airconsIn, {kIndoorUnit, 1, 17, 1, 0x101, "VELUN-28"});
  addUnit(*map, first->airconsIn, {kIndoorUnit, 2, 18, 2, 0x101, "VELUN-28"});
  auto second = addSystem(map->systems);
  addUnit(*map, second->airconsOut, {kOutdoorUnit, 1, 2, 2, 0x202, "TALMA-280K"});
  addUnit(*map, second->airconsIn, {kIndoorUnit, 1, 19, 1, 0x202, "VELUN-36Z"});
  auto central = addSystem(map->systemsCen);
  addUnit(*map, central->airconsCen, {kCentralUnit, 1, 32, 0, 0x21, "CORDA-CX1"});
  return map;
}

bool writeCustomer(const char* id, const char* name, std::shared_ptr<MapQ7net> map) {
  clearCustomerInfo();
  CustomInfor& customer = currentCustomer();
  customer.id = QString::fromLatin1(id);
  customer.name = QString::fromLatin1(name);
  customer.chargeMan = QStringLiteral("Ito");
  customer.address = QStringLiteral("1 Harbour Road");
  if (map) customer.q7nets.add(map, QString::number(map->mapIndex));
  const SiteFileResult saved = saveCustomerFile();
  if (!saved) std::fprintf(stderr, "demo-data: %s\n", qPrintable(saved.message));
  return saved.ok;
}

template <std::size_t N>
void setText(char (&field)[N], const char* text) {
  std::memset(field, 0, N);
  std::strncpy(field, text, N - 1);
}

struct Customer {
  const char* id;
  const char* name;
};

dasgen::Recording recording(const Customer& customer, int kind, uint16_t system, const char* model, uint16_t interval,
                            uint32_t records, std::time_t start) {
  dasgen::Recording made;
  das::FileHeader& h = made.header;
  setText(h.customerId, customer.id);
  setText(h.customerName, customer.name);
  setText(h.personInCharge, "Ito");
  setText(h.modelText, model);
  setText(h.mapName, *customer.id == ' ' ? "" : "Main building");
  h.mapNumber = 1;
  h.systemNumber = system;
  h.interfaceMode = 2;
  h.recordingKind = static_cast<uint16_t>(kind);
  h.firstRecordTime = static_cast<uint32_t>(start);
  h.interval = interval;
  h.statusLength = 6;
  made.records = records;
  return made;
}

bool write(const std::string& folder, const Customer& customer, dasgen::Recording made) {
  made.dataByte = dasgen::sampleData(made.units);
  const std::string path = das::fileName(folder.c_str(), customer.id, made.header.recordingKind,
                                         made.header.systemNumber, made.header.firstRecordTime);
  std::string error;
  if (dasgen::writeRecording(path, made, error)) return true;
  std::fprintf(stderr, "demo-data: %s\n", error.c_str());
  return false;
}

std::vector<dasgen::Unit> systemOneUnits() {
  return {dasgen::sampleUnit(dasgen::SampleModel::Outdoor, 1, 1, 1),
          dasgen::sampleUnit(dasgen::SampleModel::Indoor, 1, 17, 1),
          dasgen::sampleUnit(dasgen::SampleModel::Indoor, 2, 18, 2)};
}

bool writeRecordings(const std::string& root, const std::string& home) {
  const Customer acme{"Acme", "Acme Corp"}, beta{"Beta", "Beta Ltd"}, none{" ", ""};
  dasgen::Recording periodic = recording(acme, das::kPeriodic, 1, "TALMA-224", 20, 181, kMorning);
  periodic.units = systemOneUnits();
  // Trigger recording: 30 minutes either side of the moment outdoor unit 1
  // stopped with an error, or indoor unit 1 reported one.
  dasgen::Recording trigger = recording(acme, das::kTrigger, 1, "TALMA-224", 10, 361, kMorning + 3 * 3600);
  trigger.header.triggerRecord = 181;
  trigger.units = systemOneUnits();
  trigger.units[0].conditions = {dasgen::conditionBlock("Operation", "STOP", "", 1),
                                 dasgen::conditionBlock("Error", "1", "", 2),
                                 dasgen::conditionBlock("CompFreq", "", "", 0)};
  trigger.units[1].conditions = {dasgen::conditionBlock("Error", "1", "0", 2)};
  dasgen::Recording day = recording(beta, das::kPeriodic, 2, "TALMA-280K", 5, 17280, kMorning - 9 * 3600);
  day.header.mapName[0] = '\0';
  day.units = {dasgen::sampleUnit(dasgen::SampleModel::Outdoor, 1, 2, 2),
               dasgen::sampleUnit(dasgen::SampleModel::ZoneIndoor, 1, 19, 1)};
  dasgen::Recording central = recording(none, das::kPeriodic, 3, "CORDA-CX1", 60, 120, kMorning + 6 * 3600);
  central.units = {dasgen::sampleUnit(dasgen::SampleModel::Central, 1, 32, 0)};
  const std::string sample = root + "central.das";
  std::string error;
  central.dataByte = dasgen::sampleData(central.units);
  if (!dasgen::writeRecording(sample, central, error)) {
    std::fprintf(stderr, "demo-data: %s\n", error.c_str());
    return false;
  }
  if (!write(root + "Acme/", acme, periodic) || !write(root + "Acme/", acme, trigger) ||
      !write(root + "Beta/", beta, day)) {
    return false;
  }
  if (home.empty()) return true;
  dasgen::Recording older = periodic;
  older.records = 61;
  QDir().mkpath(QString::fromStdString(home + "Acme"));
  const QString customerFile = QString::fromStdString(home + "Acme/Acme.dak");
  QFile::remove(customerFile);
  return QFile::copy(QString::fromStdString(root + "Acme/Acme.dak"), customerFile) &&
         write(home + "Acme/", acme, older);
}

// Files of the patterns in a folder (names matched without regard to case);
// false when one stays.
bool removeFiles(const QString& folder, const QStringList& patterns) {
  bool removed = true;
  for (const QString& name : QDir(folder).entryList(patterns, QDir::Files)) {
    if (QFile::remove(QDir(folder).filePath(name))) continue;
    std::fprintf(stderr, "demo-data: %s/%s cannot be removed\n", qPrintable(folder), qPrintable(name));
    removed = false;
  }
  return removed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: demo-data PROGRAM-FOLDER [HOME-FOLDER]\n");
    return 2;
  }
  const std::string home = argc == 3 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath().toStdString() + "/" : "";
  const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  setProgramFolder(folder);
  if (!writeCustomer("Acme", "Acme Corp", sampleInstallationMap()) || !writeCustomer("Beta", "Beta Ltd", nullptr)) {
    return 1;
  }
  if (!writeRecordings(folder.toStdString() + "/", home)) return 1;
  if (const OldCsvRemoval removal = deleteOldCsvFiles(folder + QStringLiteral("/csv/data")); !removal) {
    std::fprintf(stderr, "demo-data: %s %s\n", qPrintable(removal.lastFailedName),
                 qPrintable(removal.lastFailure.errorLine()));
    return 1;
  }
  if (!removeFiles(folder, {QStringLiteral("const*.das")}) ||
      !removeFiles(folder + QStringLiteral("/q7data"), {QStringLiteral("*.dl2")})) {
    return 1;
  }
  std::printf("demo-data: customers Acme and Beta and four recordings written to %s\n", qPrintable(folder));
  return 0;
}

#include "map/map_recording.h"

#include "frame/file_operations.h"
#include "frame/site/frmDummy.h"
#include "recording/recording_systems.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <functional>

namespace {

constexpr int32_t kSensorOnlyMode = 1;

bool recordable(int32_t librarySystem) { return librarySystem >= 1 && librarySystem <= kHighestRecordedSystem; }

// The ordinary systems, then the central ones, as the library numbers them.
template <class Visit>
void forEachLibrarySystem(const MapQ7net& map, Visit visit) {
  for (const auto* systems : {&map.systems, &map.systemsCen}) {
    const int32_t kind = systems == &map.systems ? kOrdinarySystem : kCentralSystem;
    for (const auto& system : *systems) {
      if (!system) continue;
      const int32_t number = librarySystemNumber(map, kind, system->systemNumber);
      if (recordable(number) && !visit(*system, number)) return;
    }
  }
}

// The file names of a folder, listed through the hidden folder lists.
QStringList filesIn(const QString& folder, FileOutcome& outcome) {
  frmDummy& lists = frmDummy::instance();
  lists.setFolder(folder);
  lists.filDummy.pattern = QStringLiteral("*");
  const QStringList names = lists.filDummy.list();
  outcome = lists.filDummy.outcome;
  return names;
}

bool anyFile(const QString& folder, const std::function<bool(const QString&)>& matches) {
  FileOutcome outcome;
  const QStringList names = filesIn(folder, outcome);
  return std::any_of(names.begin(), names.end(), matches);
}

}  // namespace

SystemSelection periodicSelection(const MapQ7net& map) {
  SystemSelection selection{};
  if (map.ifMode == kSensorOnlyMode) {
    selection[0] = 1;
    return selection;
  }
  forEachLibrarySystem(map, [&selection](const MapSystem& system, int32_t number) {
    if (system.recode == 1) selection[static_cast<std::size_t>(number - 1)] = 1;
    return true;
  });
  return selection;
}

int32_t triggerSystemIndex(const MapQ7net& map) {
  int32_t index = 1;
  forEachLibrarySystem(map, [&index](const MapSystem& system, int32_t number) {
    if (system.recodeTrigger != 1) return true;
    index = number;
    return false;
  });
  return index;
}

bool periodicFilesWouldBeReplaced(const QString& folder) {
  // The library's own rule: a name beginning with "const" and ending in
  // ".das", whatever lies between.
  return anyFile(folder, [](const QString& name) {
    return name.startsWith(QLatin1String("const"), Qt::CaseInsensitive) &&
           name.endsWith(QLatin1String(".das"), Qt::CaseInsensitive);
  });
}

bool triggerFileWouldBeReplaced(const QString& folder) {
  return anyFile(folder, [](const QString& name) {
    return name.compare(QLatin1String("trigger.das"), Qt::CaseInsensitive) == 0;
  });
}

BusLogBase splitBusLogBase(const QString& basePath) {
  const qsizetype slash = basePath.lastIndexOf(QLatin1Char('/'));
  if (slash < 0) return {QStringLiteral("."), basePath};
  return {basePath.left(slash + 1), basePath.mid(slash + 1)};
}

bool checkWhetherQ7dataFileExists(const QString& basePath) {
  const BusLogBase base = splitBusLogBase(basePath);
  return anyFile(base.folder, [&base](const QString& name) {
    return name.endsWith(QLatin1String(".dl2"), Qt::CaseInsensitive) &&
           name.startsWith(base.name, Qt::CaseInsensitive);
  });
}

bool isBusLogOf(const QString& fileName, const QString& baseName) {
  const QRegularExpression log(
      QStringLiteral("^%1(-[0-9]+)?\\.dl2$").arg(QRegularExpression::escape(baseName)),
      QRegularExpression::CaseInsensitiveOption);
  return log.match(fileName).hasMatch();
}

BusLogDeletion deleteBusLogs(const QString& basePath) {
  const BusLogBase base = splitBusLogBase(basePath);
  FileOutcome listing;
  const QStringList names = filesIn(base.folder, listing);
  BusLogDeletion deletion;
  deletion.listed = static_cast<bool>(listing);
  if (!deletion.listed) return deletion;
  const QDir folder(base.folder);
  for (const QString& name : names) {
    if (!isBusLogOf(name, base.name)) continue;
    if (!removeFile(folder.filePath(name))) deletion.lastFailed = name;
  }
  return deletion;
}

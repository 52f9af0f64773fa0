#include "records/data_show_catalogue.h"

#include "frame/folder_texts.h"
#include "frame/library/tramsoll_api.h"
#include "frame/library/tramsoll_client.h"
#include "frame/site/site_files.h"

namespace {

QString customerFileIn(const QStringList& files, const QString& id) {
  const QString expected = id + QStringLiteral(".dak");
  for (const QString& name : files) {
    if (name.compare(expected, Qt::CaseInsensitive) == 0) return name;
  }
  return QString();
}

std::shared_ptr<DataShowCustom> folderEntry(int32_t number, const QString& id, const QString& name,
                                            const QString& dir) {
  auto custom = std::make_shared<DataShowCustom>();
  custom->customNumber = number;
  custom->customId = id;
  custom->customName = name;
  custom->customDir = dir;
  return custom;
}

void addFolder(DataShowManager& catalogue, std::shared_ptr<DataShowCustom> custom) {
  const QString key = QString::number(custom->customNumber);
  catalogue.dataShowCustoms.add(std::move(custom), key);
}

std::shared_ptr<DataShowFile> fileInfo(TramsollApi& api, const QString& folder, int32_t number, FileNames names) {
  const RecordedFileInfo info = TramsollClient(api).fileInfo(folder, number);
  auto file = std::make_shared<DataShowFile>();
  file->fileNumber = number;
  file->ssChargeMan = info.personInCharge;
  file->mapName = info.mapName;
  file->systemNumber = info.systemNumber;
  file->kind = info.modelText;
  file->recodeMode = info.recordingMode;
  file->ifMode = info.interfaceMode;
  file->outNumber = info.outdoorCount;
  file->inNumber = info.indoorCount;
  file->cenNumber = info.centralCount;
  file->saveYear = info.startYear;
  file->saveMonth = info.startMonth;
  file->saveDay = info.startDay;
  file->saveTime = info.startSecondOfDay;
  file->graphTotalNum = info.recordCount;
  file->graphTriggerNo = info.triggerRecord;
  file->recodeInterval = info.intervalSeconds;
  file->fileSize = info.fileSize;
  if (names == FileNames::Kept) file->fileName = info.fileName;
  return file;
}

void addFiles(TramsollApi& api, DataShowCustom& custom, FileNames names) {
  int32_t count = 0;
  api.getFileNum(textForLibrary(custom.customDir).constData(), &count);
  for (int32_t k = 1; k <= count; ++k) {
    custom.dataShowFiles.add(fileInfo(api, custom.customDir, k, names), QString::number(k));
  }
}

}  // namespace

CustomerFolderWalk walkCustomerFolders(const QString& folder) {
  CustomerFolderWalk walk;
  const FolderListing top = listFolder(folder);
  walk.outcome = top.outcome;
  for (const QString& id : top.folders) {
    const FolderListing inside = listFolder(libraryFolderText(folder, id));
    if (!inside.outcome && walk.outcome) walk.outcome = inside.outcome;
    const QString customerFile = customerFileIn(inside.files, id);
    if (!customerFile.isEmpty()) walk.customers.push_back({id, customerFile});
  }
  return walk;
}

CatalogueBuild makeCustomerList(const QString& folder, FolderEnding ending) {
  CatalogueBuild build{std::make_shared<DataShowManager>(), {}};
  const CustomerFolderWalk walk = walkCustomerFolders(folder);
  build.outcome = walk.outcome;
  int32_t number = 1;
  for (const CustomerFolder& found : walk.customers) {
    const QString dir = libraryFolderText(folder, found.id);
    // The name is read from the folder without its final "/".
    const QString name = readCustomerName(dir.chopped(1));
    const QString customDir = ending == FolderEnding::Slash ? dir : dir.chopped(1);
    addFolder(*build.catalogue, folderEntry(number++, found.id, name, customDir));
  }
  return build;
}


CatalogueBuild makeDataShowList(const QString& folder, TramsollApi& api, FileNames names) {
  CatalogueBuild build = makeCustomerList(folder, FolderEnding::Slash);
  DataShowManager& catalogue = *build.catalogue;
  addFolder(catalogue, folderEntry(catalogue.dataShowCustoms.count() + 1, QString(), QString(),
                                   libraryFolderText(folder)));
  for (const auto& custom : catalogue.dataShowCustoms) addFiles(api, *custom, names);
  return build;
}

void clearDataShowList(DataShowManager& catalogue) {
  Collection<DataShowCustom>& folders = catalogue.dataShowCustoms;
  for (const auto& custom : folders) {
    while (custom->dataShowFiles.remove(custom->dataShowFiles.count())) {
    }
  }
  while (folders.remove(folders.count())) {
  }
}

std::vector<CatalogueRow> catalogueRows(const DataShowManager& catalogue) {
  std::vector<CatalogueRow> rows;
  const Collection<DataShowCustom>& folders = catalogue.dataShowCustoms;
  for (int n = 1; n <= folders.count(); ++n) {
    const auto custom = folders.item(QString::number(n));
    if (!custom) continue;
    for (int k = 1; k <= custom->dataShowFiles.count(); ++k) {
      if (auto file = custom->dataShowFiles.item(QString::number(k))) rows.push_back({custom, std::move(file)});
    }
  }
  return rows;
}

CatalogueRow catalogueRow(const DataShowManager& catalogue, int row) {
  const std::vector<CatalogueRow> rows = catalogueRows(catalogue);
  if (row < 1 || row > static_cast<int>(rows.size())) return {};
  return rows[static_cast<std::size_t>(row - 1)];
}

int catalogueFileCount(const DataShowManager& catalogue) { return static_cast<int>(catalogueRows(catalogue).size()); }

int rowToSelect(int selectedRow, int rowCount) {
  if (rowCount <= 1) return 0;
  const int row = selectedRow < 1 ? 1 : selectedRow;
  return row >= rowCount ? rowCount - 1 : row;
}

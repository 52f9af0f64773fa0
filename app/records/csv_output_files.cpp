#include "records/csv_output_files.h"

#include "frame/common_routines.h"
#include "frame/folder_texts.h"

#include <QRegularExpression>

namespace {

constexpr QLatin1String kCsvSuffix(".csv");

void splitBasePath(const QString& basePath, QString& folder, QString& stem) {
  splitPath(basePath, folder, stem);
  if (folder.isEmpty()) folder = QStringLiteral(".");
}

}  // namespace

QString csvBasePath(const QString& chosenName) {
  if (!chosenName.endsWith(kCsvSuffix, Qt::CaseInsensitive)) return chosenName;
  return chosenName.chopped(kCsvSuffix.size());
}

bool isOldCsvFileName(const QString& stem, const QString& fileName) {
  const QRegularExpression written(QLatin1Char('^') + QRegularExpression::escape(stem) +
                                       QStringLiteral(R"(_(ou|iu|cu|se)[0-9]{2,}(-[0-9]+)?\.csv$)"),
                                   QRegularExpression::CaseInsensitiveOption);
  return written.match(fileName).hasMatch();
}

OldCsvFiles findOldCsvFiles(const QString& basePath) {
  OldCsvFiles old;
  QString stem;
  splitBasePath(basePath, old.folder, stem);
  const FolderListing listing = listFolder(old.folder);
  old.outcome = listing.outcome;
  for (const QString& name : listing.files) {
    if (isOldCsvFileName(stem, name)) old.names << name;
  }
  return old;
}

OldCsvRemoval deleteOldCsvFiles(const QString& basePath) {
  OldCsvRemoval removal;
  const OldCsvFiles old = findOldCsvFiles(basePath);
  for (const QString& name : old.names) {
    if (FileOutcome removed = removeFile(libraryFolderText(old.folder) + name); !removed) {
      removal.lastFailedName = name;
      removal.lastFailure = removed;
    }
  }
  return removal;
}

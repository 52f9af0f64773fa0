#include "records/csv_output_files.h"

#include "frame/common_routines.h"
#include "frame/folder_texts.h"
#include "frame/texts/text_table.h"

#include <QRegularExpression>

namespace {

constexpr QLatin1String kCsvSuffix(".csv");

// The text-table entries of the heading texts; kBusAccess stands for the
// fixed "Q7-NET".
constexpr int kBusAccess = -1;
constexpr int kHeadingEntries[] = {79,  80,  315, 101, kBusAccess, 2,   4,   1,   3,   125, 136, 137, 138, 139, 140, 141,
                                   142, 143, 144, 145, 205,        199, 198, 197, 201, 202, 200, 10,  11,  12,  13};
static_assert(std::size(kHeadingEntries) == 31);

void splitBasePath(const QString& basePath, QString& folder, QString& stem) {
  splitPath(basePath, folder, stem);
  if (folder.isEmpty()) folder = QStringLiteral(".");
}

}  // namespace

QStringList csvHeadingTexts() {
  QStringList texts;
  for (int entry : kHeadingEntries) texts << (entry == kBusAccess ? QStringLiteral("Q7-NET") : tableText(entry));
  return texts;
}

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

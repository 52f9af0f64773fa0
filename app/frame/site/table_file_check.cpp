#include "frame/site/table_file_check.h"

#include "frame/library/tramsoll_client.h"
#include "frame/site/paths.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kSettingFile = QStringLiteral("vexa5.set");
const QString kTableFolder = QStringLiteral("table");
// More lines than one load of every table writes.
constexpr int kMostLines = 2000;

// The file a "KtbError: " or "FileHndl: " line names, quoted or before its
// line number; "" for any other line.
QString fileOfLine(const QString& line) {
  if (!line.startsWith(QLatin1String("KtbError: ")) && !line.startsWith(QLatin1String("FileHndl: "))) return QString();
  static const QRegularExpression named(QStringLiteral("([^\\s\"(]+\\.(?:set|ktb|itm))\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
  const QString file = named.match(line).captured(1);
  if (file.isEmpty() || file.compare(kSettingFile, Qt::CaseInsensitive) == 0) return file;
  // Conversion tables and item files lie in the table folder.
  return kTableFolder + QLatin1Char('/') + file;
}

QString firstFileOfLibraryLines() {
  TramsollClient library;
  QString found;
  for (int n = 0; n < kMostLines; ++n) {
    const std::optional<QString> line = library.nextDebugMessage();
    if (!line) break;
    if (found.isEmpty()) found = fileOfLine(*line);
  }
  return found;
}

}  // namespace

QString failedTableFile() {
  if (!QFileInfo(programFolderFile(kSettingFile)).isFile()) return kSettingFile;
  if (!QFileInfo(programFolderFile(kTableFolder)).isDir()) return kTableFolder + QLatin1Char('/');
  // The lines of the failed start leave out a missing conversion table and
  // name the item file that uses it instead; a reload that reports every
  // fault names the files in the order they load, tables first.
  firstFileOfLibraryLines();
  tramsollApi().checkKishuTbl();
  const QString named = firstFileOfLibraryLines();
  return named.isEmpty() ? kSettingFile : named;
}

#include "frame/site/unsaved_settings.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/site/paths.h"
#include "frame/site/settings_store.h"
#include "frame/texts/text_table.h"

#include <QDir>
#include <QTemporaryFile>

namespace {

struct PlaceState {
  bool noted = false;
  bool said = false;
};

PlaceState& state(SavePlace place) {
  static PlaceState store;
  static PlaceState folder;
  return place == SavePlace::SettingsStore ? store : folder;
}

bool programFolderIsWritable() {
  QTemporaryFile probe(QDir(programFolder()).filePath(QStringLiteral("pelomar3.XXXXXX")));
  return probe.open();
}

// The heading and the place of each noted place not said yet.
QStringList unsaidLines() {
  QStringList lines;
  const auto take = [&lines](SavePlace place, OwnText heading, const QString& where) {
    PlaceState& placeState = state(place);
    if (!placeState.noted || placeState.said) return;
    placeState.said = true;
    lines << ownText(heading) << where;
  };
  take(SavePlace::SettingsStore, kTextSettingsNotSaved, settings::storeFileName());
  take(SavePlace::ProgramFolder, kTextFolderNotSaved, QDir::toNativeSeparators(programFolder()));
  return lines;
}

}  // namespace

void noteUnsaved(SavePlace place) { state(place).noted = true; }

void checkSavePlaces() {
  if (!settings::storeIsWritable()) noteUnsaved(SavePlace::SettingsStore);
  if (!programFolderIsWritable()) noteUnsaved(SavePlace::ProgramFolder);
}

void reportUnsaved(bool toTheEngineer) {
  QStringList lines = unsaidLines();
  if (lines.isEmpty()) return;
  if (!toTheEngineer) {
    qWarning("%s", qPrintable(lines.join(QLatin1Char(' '))));
    return;
  }
  while (lines.size() < 4) lines << QString();
  showMessage(lines[0], lines[1], lines[2], lines[3]);
}

void forgetUnsaved() {
  state(SavePlace::SettingsStore) = PlaceState();
  state(SavePlace::ProgramFolder) = PlaceState();
}

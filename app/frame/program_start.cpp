#include "frame/program_start.h"

#include "frame/common_routines.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/dialogs/site_file_messages.h"
#include "frame/end_signals.h"
#include "frame/frmDspParam.h"
#include "frame/frmMain.h"
#include "frame/frmMdi.h"
#include "frame/frmSplash.h"
#include "frame/library/tramsoll_client.h"
#include "frame/program_end.h"
#include "frame/program_icon.h"
#include "frame/program_values.h"
#include "frame/single_instance.h"
#include "frame/site/program_settings.h"
#include "frame/site/site_files.h"
#include "frame/site/table_file_check.h"
#include "frame/site/unsaved_settings.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "ini_file.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr int kFirstYear = 1970;
constexpr int kLastYear = 2037;

// A stored place that shows too little of the window on any screen to take
// it by its title (a screen since removed) moves to the primary screen.
QPoint placeOnAScreen(const QRect& window) {
  constexpr int kGripWidth = 100;
  constexpr int kGripHeight = 30;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect seen = screen->availableGeometry().intersected(window);
    if (seen.width() >= kGripWidth && seen.height() >= kGripHeight) return window.topLeft();
  }
  return QGuiApplication::primaryScreen()->availableGeometry().topLeft();
}

void showMainWindow() {
  const WindowPlace place = readMainWindowPlace();
  frmMdi& main = frmMdi::instance();
  const QSize size(twipsToPixels(place.width), twipsToPixels(place.height));
  main.resize(size);
  main.move(placeOnAScreen(QRect(QPoint(twipsToPixels(place.left), twipsToPixels(place.top)), size)));
  main.load();
  if (place.maximized) {
    main.showMaximized();
  } else {
    main.show();
  }
}

void setStartValues(ProgramValues& values) {
  values.siteFileVersionMajor = 1;
  values.siteFileVersionMinor = 50;
  values.gatherStartMode = 0;
  values.pelomarType = 3;
  values.gatherMode = 2;
  values.gatherQ7Init = 0;
  values.gatherTarget = QStringLiteral(" ");
  values.gatherInterval = 5;
}

void clearStateFlags(ProgramValues& values) {
  values.customsDataOpen = false;
  values.mapRecodeModeOpen = false;
  values.mapFormOpen = false;
  values.csvOutputRunning = false;
  values.dataTransferRunning = false;
  values.dialogOpen = DialogOpenFlag();
  values.controlChangeMode = 0;
  values.accessPassword.clear();
}

void loadStationRecord() {
  const SiteFileResult loaded = loadServiceStationFile();
  if (!loaded) showSiteFileWarning(loaded);
}

// Shown again at every start, so that the windows' load handlers run.
template <class Window>
void showChildAfresh() {
  Window& window = Window::instance();
  window.unload();
  window.showForm();
}

}  // namespace

int32_t readIniHeadKey(const char* key) {
  const QString path = QDir::current().filePath(QStringLiteral("pelomar3.ini"));
  return inifile::readInt(path.toStdString(), "HEAD", key, 0);
}

void loadDisplayOptions() {
  frmMdi& main = frmMdi::instance();
  for (const DisplayOptionSetting& setting : displayOptionSettings()) {
    main.setDisplayOption(setting.option, readDisplayOptionSetting(setting));
  }
  program().adapterOptions[0] = readIniHeadKey("ADPTYP") == 1 ? 1 : 0;
  loadFileVersions();
  showChildAfresh<frmDspParam>();
}

void loadStartupSettings() {
  ProgramValues& values = program();
  frmMdi& main = frmMdi::instance();
  setStartValues(values);
  main.mnuComNo_Click(readComPortSetting());
  values.sensorParams = readSensorParamsSetting();
  values.centralOperation = true;
  values.workMode = kWorkFree;
  values.dataFunction = kDataFree;
  main.showCentralTicks();
  loadDisplayOptions();
  clearStateFlags(values);
  setProgramFolderAsCurrent();
  if (!ensureDataFolders()) noteUnsaved(SavePlace::ProgramFolder);
  loadStationRecord();
}

bool startTramsoll() {
  if (tramsollApi().initTramsoll() == 1) {
    // The splash would hide the message that explains the end.
    frmMdi::instance().unsetCursor();
    frmSplash::instance().unload();
    showMessage(QStringLiteral("1-2"), messageTexts()[2], messageTexts()[3], ownText(kTextFailedFile) + failedTableFile());
    finishEndOfApp();
    return false;
  }
  const ControlChangeMode control = TramsollClient().controlDataChangeMode();
  program().controlChangeMode = control.mode;
  program().accessPassword = control.password;
  return true;
}

bool startProgram(const StartEnvironment& environment) {
  resetProgramEnd();
  forgetUnsaved();
  loadTextTable();
  copyTextsToLabelGlobals();
  // Lang.ini came from the folder current at start; pelomar3.ini and the
  // setting file are the library's, which reads them in the program folder.
  setProgramFolderAsCurrent();
  QApplication::setWindowIcon(programIcon());

  const int year = environment.today.year();
  if (year < kFirstYear || year > kLastYear) {
    showMessage(QStringLiteral("1-3"), messageTexts()[4], messageTexts()[5], QString());
    endProgram();
    return false;
  }
  if (!takeInstanceLock(environment.lockFolder)) {
    bringRunningCopyToFront(environment.lockFolder);
    showMessage(QStringLiteral("1-1"), QString(), messageTexts()[1], QString());
    endProgram();
    return false;
  }

  showMainWindow();
  loadStartupSettings();
  frmMdi& main = frmMdi::instance();
  main.showCaption();

  showChildAfresh<frmMain>();
  frmSplash::instance().showModeless();
  QApplication::processEvents();
  main.setCursor(Qt::WaitCursor);
  if (!startTramsoll()) return false;
  main.unsetCursor();
  frmSplash::instance().unload();
  checkSavePlaces();
  listenForLaterStarts(environment.lockFolder);
  reportUnsaved(true);
  // Only a program that runs takes the end road on a signal; until here
  // nothing the engineer set can be lost, and the start's own boxes would
  // return into a start that goes on.
  endOnTerminationSignals();
  return true;
}

#include "support/program_fixture.h"

#include "display/frmDataShow.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/frmDspParam.h"
#include "frame/frmMain.h"
#include "frame/frmMdi.h"
#include "frame/frmSplash.h"
#include "frame/program_end.h"
#include "map/frmMap.h"
#include "records/frmCustomsData.h"
#include "records/frmCustomsList.h"
#include "records/frmDataTransfer.h"
#include "records/frmSs.h"

#include <QPushButton>
#include <QTimer>

#include <cstring>

ProgramFixture::ProgramFixture() {
  setEndProgramAction([] {});
  scriptVersions(library.fake, "3.12", "2024/05/17");
}

ProgramFixture::~ProgramFixture() {
  releaseInstanceLock();
  putWindowsAway();
}

StartEnvironment ProgramFixture::environment(QDate today) const { return StartEnvironment{today, store.path()}; }

QStringList ProgramFixture::callNames() const {
  QStringList names;
  for (const QString& call : library.fake.calls) names << call.left(call.indexOf(QLatin1Char('(')));
  return names;
}

void scriptVersions(FakeTramsoll& fake, const QByteArray& version, const QByteArray& date) {
  fake.on<decltype(::getSetFileVer)>(
      "getSetFileVer", [version, date](char* v, int32_t* vl, char* d, int32_t* dl, char* lv, int32_t* lvl, char* ld,
                                       int32_t* ldl) {
        const auto give = [](char* buffer, int32_t* length, const QByteArray& text) {
          std::memcpy(buffer, text.constData(), static_cast<std::size_t>(text.size()) + 1);
          *length = static_cast<int32_t>(text.size());
        };
        give(v, vl, version);
        give(d, dl, date);
        give(lv, lvl, "1.53A");
        give(ld, ldl, "2015/02/25");
        return 0;
      });
}

QTimer* readNextMessage(QStringList& lines) {
  return answerNextModal([&lines](QWidget* modal) {
    auto* box = qobject_cast<frmMessage*>(modal);
    if (!box) {
      modal->close();
      return;
    }
    lines = QStringList(box->labelStrings.begin(), box->labelStrings.end());
    box->cmdOk->click();
  });
}

void putWindowsAway() {
  frmMain::instance().unload();
  frmDspParam::instance().unload();
  frmSplash::instance().unload();
  frmCustomsList::instance().unload();
  frmDataTransfer::instance().unload();
  frmSs::instance().unload();
  frmMap& map = frmMap::instance();
  map.mapRecode = map.mapRecodeTrigger = map.mapRecodeTriggerOn = map.mapRecodeQ7Data = false;
  map.flagForEnd = false;
  map.dataShowForms.clear();
  frmCustomsData& data = frmCustomsData::instance();
  data.flagForEnd = true;  // unloading it must not bring the main menu back
  data.unload();
  data.flagForEnd = false;
  data.dataShowForms.clear();
  frmMdi& main = frmMdi::instance();
  main.tmrForEndApp->stop();
  main.hide();
  resetProgramEnd();
}

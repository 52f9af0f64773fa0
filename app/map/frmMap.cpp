#include "map/frmMap.h"

#include "display/frmDataShow.h"
#include "frame/program_values.h"

frmMap& frmMap::instance() { return programInstance<frmMap>(); }

frmMap::frmMap() { setWindowTitle(QStringLiteral("Network Map Display")); }

// The library's side of stopping a recording comes with the recording
// control of the map; here only the window's flags follow.
void frmMap::stopRecode() { mapRecode = false; }

void frmMap::stopRecodeTrigger() {
  mapRecodeTrigger = false;
  mapRecodeTriggerOn = false;
}

void frmMap::stopRecodeQ7Data() { mapRecodeQ7Data = false; }

void frmMap::prepareForEndFormMap() {
  stopRecode();
  stopRecodeTrigger();
  stopRecodeQ7Data();
  flagForEnd = true;
  // Walk a copy: a window may leave the collection while it is told.
  const Collection<frmDataShow> windows = dataShowForms;
  for (const auto& window : windows) window->prepareForEndFormDataShow();
  unload();
  program().mapFormOpen = false;
}

void frmMap::removeFormDataShow(const frmDataShow& form) { dataShowForms.remove(QString::number(form.formNumber)); }

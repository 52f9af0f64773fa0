// The network map window: the central window of one map.
//
// For now the window carries what the main window and the end of the
// program use: the recording flags, the live display windows, the end flag,
// and the calls that stop recordings and close the window.
#pragma once

#include "frame/form.h"
#include "types/Collection.h"

class frmDataShow;

class frmMap : public ChildForm {
  Q_OBJECT
 public:
  static frmMap& instance();

  // Recordings running: periodic, trigger (armed or running), trigger met,
  // bus data.
  bool mapRecode = false;
  bool mapRecodeTrigger = false;
  bool mapRecodeTriggerOn = false;
  bool mapRecodeQ7Data = false;
  // Set while the window closes; its handlers then wind down.
  bool flagForEnd = false;
  // The open live display windows, keyed by their formNumber as text.
  Collection<frmDataShow> dataShowForms;

  // Stop periodic, trigger and bus-data recording.
  void stopRecode();
  void stopRecodeTrigger();
  void stopRecodeQ7Data();
  // Stops the recordings, tells the live display windows to close and
  // closes the window.
  void prepareForEndFormMap();
  // Drops the window of the same formNumber from dataShowForms, if any.
  void removeFormDataShow(const frmDataShow& form);

 private:
  frmMap();
  template <class T>
  friend T& programInstance();
};

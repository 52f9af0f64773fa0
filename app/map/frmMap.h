// The network map window: the central window of one map.
//
// For now the window carries what the main window and the end of the
// program use: the recording flags, the live display windows, the end flag,
// and the calls that stop recordings and close the window. It takes part in
// the end of the program through ProgramEndParticipant.
#pragma once

#include "display/display_window_owner.h"
#include "frame/end_participant.h"
#include "frame/single_form.h"

class frmMap : public SingleForm<frmMap, ChildForm>, public ProgramEndParticipant {
  Q_OBJECT
 public:
  // Recordings running: periodic, trigger (armed or running), trigger met,
  // bus data.
  bool mapRecode = false;
  bool mapRecodeTrigger = false;
  bool mapRecodeTriggerOn = false;
  bool mapRecodeQ7Data = false;
  // The open live display windows.
  DisplayWindowOwner dataShowForms;
  // Set while the window closes; its handlers then wind down.
  bool flagForEnd() const { return dataShowForms.flagForEnd(); }

  // Stop periodic, trigger and bus-data recording.
  void stopRecode();
  void stopRecodeTrigger();
  void stopRecodeQ7Data();
  // Stops the recordings, tells the live display windows to close and
  // closes the window.
  void prepareForEndFormMap();
  // Drops the window of the same formNumber from dataShowForms, if any.
  void removeFormDataShow(const frmDataShow& form) { dataShowForms.removeFormDataShow(form); }

  // The end of the program: the recordings stop, the live windows are told
  // to close and an open map closes; the end waits for all of them.
  bool recordingRuns() const override;
  void prepareForEnd() override;
  bool closed() const override;

 protected:
  frmMap();
  void onLoad() override;

 private:
  void stopRunningRecordings();
};

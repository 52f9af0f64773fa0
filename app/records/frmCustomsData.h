// The customer data window: the recorded files of every customer, from
// which replay display windows are opened. When it closes the data function
// is free again; its Cancel brings the main menu back.
//
// For now the window carries what the main menu and the end of the program
// use: its replay windows, its end flag and its open state. It takes part in
// the end of the program through ProgramEndParticipant.
#pragma once

#include "display/display_window_owner.h"
#include "frame/end_participant.h"
#include "frame/single_form.h"
#include "frame/work_form.h"

class frmCustomsData : public SingleForm<frmCustomsData, WorkForm>, public ProgramEndParticipant {
  Q_OBJECT
 public:
  // Drops the window of the same formNumber from dataShowForms, if any.
  void removeFormDataShow(const frmDataShow& form) { dataShowForms.removeFormDataShow(form); }

  // The open replay windows.
  DisplayWindowOwner dataShowForms;
  // Set by the end of the program so that the window's handlers wind down.
  bool flagForEnd() const { return dataShowForms.flagForEnd(); }

  // Starts the window's closing: its replay windows are told to close and
  // the window goes; a deletion of customer files does not wait for them.
  void prepareForEndFormCustomsData();

  // The end of the program tells the replay windows to close and waits for
  // them.
  void prepareForEnd() override { dataShowForms.prepareForEnd(); }
  bool closed() const override { return dataShowForms.isEmpty(); }

 protected:
  frmCustomsData();
  void onLoad() override;
  void onUnload() override;
};

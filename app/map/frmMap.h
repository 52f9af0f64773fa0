// The network map window: the central window of one map.
#pragma once

#include "frame/form.h"

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

  // Stops the recordings and timers and starts the window's closing.
  void prepareForEndFormMap();

 private:
  frmMap();
  template <class T>
  friend T& programInstance();
};

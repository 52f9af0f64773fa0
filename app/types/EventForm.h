// The event guard's record of one registered window.
#pragma once

#include <QString>

#include <cstdint>

struct EventForm {
  int32_t idNumber = 0;    // identity in the manager; its decimal text is the key
  QString formName;        // class name as the caller passes it (case matters)
  int32_t formNumber = 0;  // tells apart several windows of one class
  int32_t formKind = 0;    // chosen by the caller
  bool loadEvent = false;
  bool userEvent = false;
  bool timerEvent = false;
  bool closeEvent = false;
};

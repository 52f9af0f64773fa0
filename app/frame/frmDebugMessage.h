// The window that shows the library's diagnostic lines as they come, keeps
// the newest 51 and writes every line to DebugMessage.txt.
#pragma once

#include "frame/single_form.h"

#include <QFile>

class QListWidget;
class QTimer;

class frmDebugMessage : public SingleForm<frmDebugMessage, ChildForm> {
  Q_OBJECT
 public:
  // Takes every line the library holds (every 500 ms while loaded).
  void tmrDebugMessage_Timer();

  QListWidget* lstDebugMessage = nullptr;
  QTimer* tmrDebugMessage = nullptr;

 protected:
  frmDebugMessage();
  void onLoad() override;
  void onUnload() override;

 private:
  void addLine(const QString& line);

  QFile file_;
};

// The window that shows the library's diagnostic lines as they come, keeps
// the newest 51 and writes every line to DebugMessage.txt.
#pragma once

#include "frame/form.h"

#include <QFile>

class QListWidget;
class QTimer;

class frmDebugMessage : public ChildForm {
  Q_OBJECT
 public:
  static frmDebugMessage& instance();

  // Takes every line the library holds (every 500 ms while loaded).
  void tmrDebugMessage_Timer();

  QListWidget* lstDebugMessage = nullptr;
  QTimer* tmrDebugMessage = nullptr;

 protected:
  void onLoad() override;
  void onUnload() override;

 private:
  frmDebugMessage();
  void addLine(const QString& line);
  template <class T>
  friend T& programInstance();

  QFile file_;
};

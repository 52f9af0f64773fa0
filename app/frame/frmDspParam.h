// The status panel at the main window's top left: adapter type, COM port,
// central operation and setting-file version, beside the program's icon. It
// is a panel without title bar or close box (closed, it could not come
// back), stays where it is in every arrangement, and the main menu never
// covers it.
#pragma once

#include "frame/single_form.h"

#include <QPointer>

#include <array>

class QLabel;

class frmDspParam : public SingleForm<frmDspParam, ChildForm> {
  Q_OBJECT
 public:
  // Moves `window` clear of the panel where the main window has room for
  // both; where it has not, the panel is raised above it whenever it
  // becomes active.
  void keepUncoveredBy(QMdiSubWindow& window);

  std::array<QLabel*, 4> Label1{};
  QLabel* lblIcon = nullptr;

 protected:
  frmDspParam();
  void onLoad() override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QMdiSubWindow> coverer_;
};

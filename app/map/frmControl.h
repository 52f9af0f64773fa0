// The centralized-operation window: the 128 central control addresses of a
// Q7 bus (groups 1-8, units 00-15) as icon buttons in two pages of 64,
// coloured from the library's address table every three seconds; the mode,
// set point, error code and flags of the selected address; run, stop, mode
// and set-point requests, sent together at the next one-second tick.
//
// The focus on an address button is its selection (Tab or the mouse). A
// request belongs to the address selected when it was made: any change of
// the selection drops what is pending, so a command never reaches a unit the
// engineer did not choose. A raised or lowered set point is kept as it was
// pressed, and a refresh leaves its box alone until it has been sent.
//
// The map window sets the map and shows the window. Cancel (Esc, the window
// system's close, or the map closing) hides it and stops its timers; the
// end timer unloads it once no step is halfway and then says so (closed),
// which the map waits for before it closes.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "types/MapQ7net.h"

#include <array>
#include <cstdint>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;

class frmControl : public SingleForm<frmControl, ChildForm> {
  Q_OBJECT
 public:
  static constexpr int kAddressesPerPage = 64;
  static constexpr int kAddressCount = 256;  // of the library's table

  // The map whose bus is operated; its names and access method make the
  // title.
  std::shared_ptr<MapQ7net> mapQ7netObj;
  // The window is closing (hidden): its buttons and timers do nothing.
  bool flagForEnd = false;

  // Stops the timers, drops pending requests, hides the window and lets the
  // end timer unload it.
  void prepareForEndFormControl();
  void cancel() override { prepareForEndFormControl(); }

  // The selected address 0..127, or -1 for none.
  int32_t selectedAddress() const { return selectedAddress_; }
  bool secondPage() const { return secondPage_; }

  void tmrForRefreshAll_Timer();
  void tmrForSendCommand_Timer();
  void tmrForEnd_Timer();

  // ---- Controls ----
  QWidget* picAirCons = nullptr;
  std::array<QToolButton*, kAddressesPerPage> cmdAircon{};
  std::array<QLabel*, 16> lblCol{};
  std::array<QLabel*, 4> lblRow{};
  QGroupBox* fra1 = nullptr;
  QPushButton* cmdUp = nullptr;
  QPushButton* cmdDown = nullptr;
  QGroupBox* fra2 = nullptr;
  QPushButton* cmdRun = nullptr;
  QPushButton* cmdStop = nullptr;
  QLabel* lblTemp = nullptr;
  QLineEdit* txtTemp = nullptr;
  QLabel* lblC = nullptr;
  QPushButton* cmdTempUp = nullptr;
  QPushButton* cmdTempDown = nullptr;
  QPushButton* cmdCool = nullptr;
  QPushButton* cmdWarm = nullptr;
  QPushButton* cmdWind = nullptr;
  QLabel* lblMode = nullptr;
  QLineEdit* txtMode = nullptr;
  QLabel* lblErrorCode = nullptr;
  QLineEdit* txtErrorCode = nullptr;
  QPushButton* cmdCancel = nullptr;
  QLabel* lblManageChuou = nullptr;    // under central control
  QLabel* lblManageKyousei = nullptr;  // under forced stop
  QLabel* lblManageShuchu = nullptr;   // the address is on central control
  QLabel* lblManageKirikae = nullptr;  // the address is on operation-change control
  QTimer* tmrForRefreshAll = nullptr;   // 3000 ms
  QTimer* tmrForSendCommand = nullptr;  // 1000 ms
  QTimer* tmrForEnd = nullptr;          // 2000 ms

  static constexpr int kWidth = 8200;
  static constexpr int kHeight = 4000;

 signals:
  // The window has been unloaded after its closing.
  void closed();

 protected:
  frmControl();
  void onLoad() override;
  void onUnload() override;
  void onActivate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What the engineer asked for since the last tick.
  struct Requests {
    bool run = false;
    bool stop = false;
    bool tempUp = false;
    bool tempDown = false;
    bool cool = false;
    bool heat = false;
    bool fan = false;
    float setPoint = 0;  // the raised or lowered set point
    bool any() const { return run || stop || tempUp || tempDown || cool || heat || fan; }
    bool setPointAsked() const { return tempUp || tempDown; }
  };

  void makeAddressButtons();
  void makeOperationControls();
  void makeTimers();
  void applyCaptionTexts();
  void focusFirstControl();
  void readScAdrInfo();
  void keepSelectedAddress();
  void setSelectedAddress(int32_t address);
  void drawAddressButtons();
  void showSelectedStatus();
  void showPageLabels();
  void cmdAircon_GotFocus(int index);
  void showPage(bool second);
  void cmdRun_Click(bool run);
  void requestMode(int32_t mode);
  void stepSetPoint(float step);
  void showSelectedIcon(const char* picture);
  void clearCommandRequests() { requests_ = Requests{}; }
  void closeControlWindow();
  int32_t firstAddressOfPage() const { return secondPage_ ? kAddressesPerPage : 0; }

  std::array<int32_t, kAddressCount> adrPresence{};
  std::array<int32_t, kAddressCount> adrRunState{};
  int32_t centralControlFlag = 0;
  int32_t forcedStopFlag = 0;
  int32_t selectedAddress_ = -1;
  bool secondPage_ = false;
  Requests requests_;
  bool pageBusy_ = false;
  bool refreshBusy_ = false;
  bool controlIdle_ = true;
  KeyTable keys_;
};

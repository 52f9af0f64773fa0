// The options of a CSV conversion: all data of the recorded file or a time
// span of it, with or without the header rows. The customer data window
// fills the span with the file's start and end and shows the dialog
// modeless; GO hands the choices to the library (CsvDateSet) and asks for
// the conversion road (csvOutputWanted), then unloads the dialog.
#pragma once

#include "frame/single_form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmCsvSetting : public SingleForm<frmCsvSetting, DialogForm> {
  Q_OBJECT
 public:
  // True while GO's conversion road runs: the dialog stays loaded then.
  bool goRunning() const { return goRunning_; }
  // The closing of the customer data window: unloads the dialog, unless
  // GO runs (GO unloads it when its road returns).
  void unloadUnlessGoRuns();

  QGroupBox* time = nullptr;
  QRadioButton* Option1 = nullptr;  // all data
  QLabel* Label1 = nullptr;
  QRadioButton* Option2 = nullptr;  // a time span
  QLabel* Label2 = nullptr;
  QLabel* start = nullptr;
  QLineEdit* StartDate = nullptr;
  QLabel* endl = nullptr;
  QLineEdit* EndDate = nullptr;
  QGroupBox* header = nullptr;
  QLabel* L_Header = nullptr;
  QRadioButton* Header_ON = nullptr;
  QLabel* L_HeaderON = nullptr;
  QRadioButton* Header_OFF = nullptr;
  QLabel* L_HeaderOFF = nullptr;
  QPushButton* go = nullptr;
  QPushButton* cmdCancel = nullptr;

  // The client area, twips.
  static constexpr int kWidth = 5475;
  static constexpr int kHeight = 3225;

 signals:
  // GO has passed the span and the options to the library: the conversion
  // road is to run now.
  void csvOutputWanted();

 protected:
  frmCsvSetting();
  void onLoad() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void makeTimeFrame();
  void makeHeaderFrame();
  void setControlCaptions();
  // The span's controls follow the choice of data.
  void enableSpan(bool enabled);
  void go_Click();

  bool goRunning_ = false;
};

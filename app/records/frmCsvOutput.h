// The progress of a running CSV conversion, with Cancel. The conversion of
// the customer data window shows it, reports each slice's percentage to it
// and unloads it when the conversion ends; Cancel only asks the conversion
// to stop (cancelRequested), which takes effect after the slice under way.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"

class QLabel;
class QPushButton;

// The bar of the progress: filled in blue from the left up to the widest
// percentage reported since it was last cleared, so it only grows.
class CsvProgressBar : public QWidget {
  Q_OBJECT
 public:
  explicit CsvProgressBar(QWidget* parent);
  // Fills the bar up to `per` percent of its width; 0 draws nothing.
  void fillTo(int per);
  void clear();
  int filledWidth() const { return filledWidth_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int filledWidth_ = 0;
};

class frmCsvOutput : public SingleForm<frmCsvOutput, DialogForm> {
  Q_OBJECT
 public:
  // Shows `per` percent (0 to 100) of the conversion done.
  void drawPictuteCsvOutput(int per);
  // The dialog never closes itself: Cancel only asks.
  void cancel() override { emit cancelRequested(); }

  QLabel* lbl1 = nullptr;
  CsvProgressBar* picCsvOutput = nullptr;
  QLabel* lblPercent = nullptr;
  QPushButton* cmdCancel = nullptr;

  static constexpr int kWidth = 4500;
  static constexpr int kHeight = 2500;

 signals:
  // Cancel (the button, Esc, the close box): the conversion is to stop.
  void cancelRequested();

 protected:
  frmCsvOutput();
  void onLoad() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  KeyTable keys_;
};

// The frame the two search windows of a replay share (the analog value
// search and the error-code search): a modal dialog over the main window
// with "Search from top (F1)", "Search next (F2)" and "Cancel (Esc)", that
// searches one item of one unit of the recorded file its display window
// replays and puts that window's cursor on the record found.
//
// The library does the scanning in slices; they run through a SliceDriver,
// so the pointer, the window's repainting and Cancel keep working while a
// search runs. A search covers the whole file once from its start record,
// wrapping from the last record to the first. A hit unloads the window and
// moves the display window's cursor there; no hit says "No corresponding
// data." and leaves the window open; a search the library cannot run to its
// end says so and leaves the window open too.
#pragma once

#include "frame/form.h"
#include "frame/key_table.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>

class QPushButton;
class SliceDriver;
class frmDataShow;
enum class SliceOutcome;

// A record matches when the item's value is at or above (flag 1) or at or
// below (flag 0) the value; single precision, as the library compares.
struct SearchCondition {
  int32_t flag = 0;
  float value = 0;
};

class DataSearchForm : public DialogForm {
  Q_OBJECT
 public:
  // Set by the display window before it shows the search window.
  QPointer<frmDataShow> parentForm;
  QString dataItemName;
  QString customDir;
  int32_t fileNumber = 0;
  int32_t airconType = 0;  // 0 outdoor, 1 indoor, 100 central, 200 sensor
  int32_t airconNumber = 0;
  int32_t dataitemNumber = 0;  // the library's item number

  QPushButton* cmdSearchFirst = nullptr;
  QPushButton* cmdSearchNext = nullptr;
  QPushButton* cmdCancel = nullptr;

  // The window's size, twips.
  static constexpr int kWidth = 4500;
  static constexpr int kHeight = 2500;

  // Cancel (Esc): no further slice runs, the window unloads and the display
  // window has the focus again.
  void cancel() override;
  // True while a search (or the pass before it) runs.
  bool searching() const;

 protected:
  DataSearchForm();
  void onLoad() override;
  void onUnload() override;
  // The text before "(item name)" in the caption.
  virtual QString captionText() const = 0;
  // Checks what the engineer entered; false stops the search (the window
  // has said why).
  virtual bool inputAccepted() { return true; }
  // Keeps the entered condition on the display window.
  virtual void storeSettings(frmDataShow&) {}
  // The search needs the item's minimum and maximum over the file first.
  virtual bool wantsMinMax(const frmDataShow&) const { return false; }
  virtual SearchCondition condition(const frmDataShow& parent) const = 0;

 private:
  void search(bool fromTop);
  void runMinMaxPass(bool fromTop);
  void runSearchStep(bool fromTop);
  void minMaxEnded();
  void searchStepEnded(SliceOutcome outcome, int32_t record);
  void beginBusy();
  void endBusy();
  // "No corresponding data.": the window stays for another try.
  void showNoMatch();
  // The search cannot be completed: the engineer is told, the window stays.
  void searchFailed();
  void focusParent();

  SliceDriver* driver_ = nullptr;
  std::function<void(SliceOutcome, int32_t)> whenEnded_;
  bool searchCancelled_ = false;
  KeyTable keys_;
};

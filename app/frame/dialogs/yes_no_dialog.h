// The program's own frame for a question with two answers: one to four lines
// of text, "Yes (F1)" and "No (Esc)", centred in the main window's inner
// area, without a close box (a close asked by the window system answers No).
// dialogOpen is raised while it is loaded. Yes unloads the dialog, lets
// pending window events run and then runs the caller's Yes action; No
// unloads it and runs the caller's No action, if any. A dialog of its own design (another title, size or button
// captions) may check what was typed before Yes closes it (yesAccepted).
#pragma once

#include "frame/form.h"
#include "frame/key_table.h"

#include <functional>
#include <vector>

class QLabel;
class QPushButton;

class YesNoDialog : public DialogForm {
  Q_OBJECT
 public:
  // A line or caption: its design text and the text-table entries that
  // replace it (`entries` of them from `entry` on, joined without
  // separator; entry 0 for none).
  struct Line {
    const char* text;
    int entry;
    int entries = 1;
  };
  using Caption = Line;

  static constexpr int kWidth = 4500;
  static constexpr int kHeight = 2500;

  struct Design {
    // Declared, so that a braced list of lines never reads as a design.
    Design() = default;
    Caption title{"Pelomar Vexa 5 Software", 19};
    std::vector<Line> lines;
    Caption yes{"Yes (F1)", 15};
    Caption no{"No (Esc)", 16};
    int width = kWidth;  // twips
    int height = kHeight;
    int linesHeight = 1140;  // the lines share this height from the top
    int buttonTop = 1560;
  };

  // Shows the question modal over the main window; Yes runs `yes`, No `no`.
  // Answers QDialog::Accepted after Yes, QDialog::Rejected after No.
  int askModal(std::function<void()> yes, std::function<void()> no = {});
  // No.
  void cancel() override;

  std::vector<QLabel*> lbl;
  QPushButton* cmdOk = nullptr;      // Yes
  QPushButton* cmdCancel = nullptr;  // No

 protected:
  // One to four lines (more are dropped, none gets one empty line).
  explicit YesNoDialog(std::vector<Line> lines);
  explicit YesNoDialog(Design design);
  // Whether Yes may close the dialog; false keeps it open as it is.
  virtual bool yesAccepted() { return true; }
  void onLoad() override;
  void onUnload() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void cmdOk_Click();
  void showCaption();
  void wrapOnlyLongLines();

  Design design_;
  std::function<void()> yes_;
  std::function<void()> no_;
  KeyTable keys_;
};

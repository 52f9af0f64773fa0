// The program's own frame for a question with two answers: one to four lines
// of text, "Yes (F1)" and "No (Esc)", centred in the main window's inner
// area, without a close box (a close asked by the window system answers No).
// dialogOpen is raised while it is loaded. Yes unloads the dialog, lets
// pending window events run and then runs the caller's Yes action; No
// unloads it and runs the caller's No action, if any.
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
  // A line: its design text and the text-table entries that replace it
  // (`entries` of them from `entry` on, joined without separator).
  struct Line {
    const char* text;
    int entry;
    int entries = 1;
  };

  // Shows the question modal over the main window; Yes runs `yes`, No `no`.
  int askModal(std::function<void()> yes, std::function<void()> no = {});
  // No.
  void cancel() override;

  std::vector<QLabel*> lbl;
  QPushButton* cmdOk = nullptr;      // Yes
  QPushButton* cmdCancel = nullptr;  // No

  static constexpr int kWidth = 4500;
  static constexpr int kHeight = 2500;

 protected:
  // One to four lines (more are dropped, none gets one empty line).
  explicit YesNoDialog(std::vector<Line> lines);
  void onLoad() override;
  void onUnload() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void cmdOk_Click();
  void showCaption();

  std::vector<Line> lines_;
  std::function<void()> yes_;
  std::function<void()> no_;
  KeyTable keys_;
};

// The frame of the data transfer's two duplicate questions: the item at the
// destination beside the item about to replace it, in display-only boxes,
// and four answers. Each answer sets only its own flag of the copy's
// answers (Yes, Yes to all, No clears Yes, Cancel), unloads the dialog and
// lets pending window events run; the close box sets none. dialogOpen is
// raised while the dialog is loaded.
#pragma once

#include "frame/form.h"
#include "frame/key_table.h"
#include "records/data_transfer_copy.h"

#include <QStringList>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

class SameItemDialog : public DialogForm {
  Q_OBJECT
 public:
  // A design text and the text-table entry that replaces it.
  struct Text {
    const char* text;
    int entry;
  };
  struct Design {
    int width;  // twips
    int height;
    Text exist;
    Text oldHeading;
    Text newHeading;
    std::vector<Text> fields;  // the label of each pair of boxes
    Text yes, yesAll, no;
  };

  // Shows the question modal over the main window; the answer is written
  // into `answers`.
  int ask(CopyAnswers& answers);

  QLabel* lblExist = nullptr;
  QLabel* lblOld = nullptr;  // heading of the item at the destination
  QLabel* lblNew = nullptr;  // heading of the item copied
  // One label per field, left of both items' boxes.
  std::vector<QLabel*> fieldLabels;
  std::vector<QLineEdit*> oldBoxes;
  std::vector<QLineEdit*> newBoxes;
  QPushButton* cmdYes = nullptr;
  QPushButton* cmdYesAll = nullptr;
  QPushButton* cmdNo = nullptr;
  QPushButton* cmdCancel = nullptr;

 protected:
  explicit SameItemDialog(Design design);
  // The boxes of both sides, in field order.
  void setFields(const QStringList& oldTexts, const QStringList& newTexts);
  void onLoad() override;
  void onUnload() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void addButton(QPushButton*& button, const Text& caption, int index, int key, bool CopyAnswers::*flag, bool value);
  void setControlCaptions();

  Design design_;
  CopyAnswers* answers_ = nullptr;
  KeyTable keys_;
};

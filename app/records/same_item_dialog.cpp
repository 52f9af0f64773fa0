#include "records/same_item_dialog.h"

#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kTitleEntry = 19;
constexpr int kCancelEntry = 17;
constexpr int kMargin = 240;
constexpr int kLabelWidth = 1700;
constexpr int kBoxWidth = 2350;
constexpr int kBoxGap = 120;
constexpr int kHeadingTop = 480;
constexpr int kFieldTop = 1020;
constexpr int kFieldPitch = 360;
constexpr int kFieldHeight = 300;
constexpr int kButtonWidth = 1500;
constexpr int kButtonHeight = 420;
constexpr int kButtonPitch = 1700;
// The buttons stand near the foot, with no wide empty band under them.
constexpr int kButtonsFromFoot = kButtonHeight + 2 * kMargin;

QString caption(const SameItemDialog::Text& text) {
  return captionsFromTable() ? captionTexts()[static_cast<std::size_t>(text.entry)] : QString::fromUtf8(text.text);
}

}  // namespace

SameItemDialog::SameItemDialog(Design design) : design_(std::move(design)) {
  setWindowTitle(QStringLiteral("Pelomar Vexa 5 Software"));
  lblExist = new QLabel(this);
  lblExist->setGeometry(twipsRect(kMargin, 120, design_.width - 2 * kMargin, kFieldHeight));
  const int oldLeft = kMargin + kLabelWidth;
  const int newLeft = oldLeft + kBoxWidth + kBoxGap;
  for (QLabel** heading : {&lblOld, &lblNew}) {
    *heading = new QLabel(this);
    (*heading)->setWordWrap(true);
    (*heading)->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    (*heading)->setGeometry(twipsRect(heading == &lblOld ? oldLeft : newLeft, kHeadingTop - kFieldHeight, kBoxWidth,
                                      2 * kFieldHeight));
  }
  for (std::size_t i = 0; i < design_.fields.size(); ++i) {
    const int top = kFieldTop + static_cast<int>(i) * kFieldPitch;
    auto* label = new QLabel(this);
    label->setGeometry(twipsRect(kMargin, top, kLabelWidth, kFieldHeight));
    fieldLabels.push_back(label);
    for (int left : {oldLeft, newLeft}) {
      auto* box = new QLineEdit(this);
      box->setReadOnly(true);
      box->setGeometry(twipsRect(left, top, kBoxWidth, kFieldHeight));
      (left == oldLeft ? oldBoxes : newBoxes).push_back(box);
    }
  }
  addButton(cmdYes, design_.yes, 0, Qt::Key_F1, &CopyAnswers::flagCopyYes, true);
  addButton(cmdYesAll, design_.yesAll, 1, Qt::Key_F2, &CopyAnswers::flagCopyYesAll, true);
  addButton(cmdNo, design_.no, 2, Qt::Key_F3, &CopyAnswers::flagCopyYes, false);
  addButton(cmdCancel, {"Cancel (Esc)", kCancelEntry}, 3, Qt::Key_Escape, &CopyAnswers::flagCopyCancel, true);
  // Enter answers No: nothing is replaced by a slip of the finger.
  cmdNo->setDefault(true);
}

void SameItemDialog::addButton(QPushButton*& button, const Text& caption, int index, int key,
                               bool CopyAnswers::*flag, bool value) {
  button = new QPushButton(QString::fromUtf8(caption.text), this);
  button->setGeometry(
      twipsRect(kMargin + index * kButtonPitch, design_.height - kButtonsFromFoot, kButtonWidth, kButtonHeight));
  connect(button, &QPushButton::clicked, this, [this, flag, value] {
    if (answers_) answers_->*flag = value;
    unload();
    QApplication::processEvents();
  });
  keys_.add(key, button);
}

int SameItemDialog::ask(CopyAnswers& answers) {
  answers_ = &answers;
  const int result = showModal();
  answers_ = nullptr;
  return result;
}

void SameItemDialog::setFields(const QStringList& oldTexts, const QStringList& newTexts) {
  for (std::size_t i = 0; i < oldBoxes.size(); ++i) {
    oldBoxes[i]->setText(oldTexts.value(static_cast<int>(i)));
    newBoxes[i]->setText(newTexts.value(static_cast<int>(i)));
    // The beginning of a long text is what tells it apart.
    oldBoxes[i]->setCursorPosition(0);
    newBoxes[i]->setCursorPosition(0);
  }
}

void SameItemDialog::onLoad() {
  centreInMainWindowTwips(design_.width, design_.height);
  setControlCaptions();
  cmdNo->setFocus();
  program().dialogOpen.raise();
}

void SameItemDialog::onUnload() { program().dialogOpen.lower(); }

void SameItemDialog::setControlCaptions() {
  lblExist->setText(caption(design_.exist));
  lblOld->setText(caption(design_.oldHeading));
  lblNew->setText(caption(design_.newHeading));
  for (std::size_t i = 0; i < design_.fields.size(); ++i) fieldLabels[i]->setText(caption(design_.fields[i]));
  cmdYes->setText(caption(design_.yes));
  cmdYesAll->setText(caption(design_.yesAll));
  cmdNo->setText(caption(design_.no));
  cmdCancel->setText(caption({"Cancel (Esc)", kCancelEntry}));
  if (!captionsFromTable()) return;
  setWindowTitle(captionTexts()[kTitleEntry]);
  setFont(appFont());
  for (QWidget* child : findChildren<QWidget*>()) child->setFont(appFont());
}

void SameItemDialog::keyPressEvent(QKeyEvent* event) {
  if (keys_.handle(event)) return;
  DialogForm::keyPressEvent(event);
}

#include "frame/dialogs/yes_no_dialog.h"

#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <utility>

namespace {

constexpr int kTitleEntry = 19;
constexpr int kYesEntry = 15;
constexpr int kNoEntry = 16;
constexpr std::size_t kMostLines = 4;
constexpr int kLabelLeft = 180;
constexpr int kLabelTop = 150;
constexpr int kLabelsHeight = 1140;
constexpr int kButtonTop = 1560;
constexpr int kButtonWidth = 1400;
constexpr int kButtonHeight = 420;

// The lines stand together in the middle of their area: the first at its
// foot, the last at its head.
Qt::Alignment lineAlignment(std::size_t index, std::size_t count) {
  if (count == 1) return Qt::AlignLeft | Qt::AlignVCenter;
  if (index == 0) return Qt::AlignLeft | Qt::AlignBottom;
  if (index + 1 == count) return Qt::AlignLeft | Qt::AlignTop;
  return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

YesNoDialog::YesNoDialog(std::vector<Line> lines) : lines_(std::move(lines)) {
  if (lines_.size() > kMostLines) lines_.resize(kMostLines);
  if (lines_.empty()) lines_.push_back({"", 0});
  setCloseBox(CloseBox::None);
  setWindowTitle(QStringLiteral("Pelomar Vexa 5 Software"));
  const int count = static_cast<int>(lines_.size());
  const int height = kLabelsHeight / count;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    auto* label = new QLabel(QString::fromUtf8(lines_[i].text), this);
    // Long texts wrap within the fixed width of the window.
    label->setGeometry(twipsRect(kLabelLeft, kLabelTop + height * static_cast<int>(i), kWidth - 2 * kLabelLeft,
                                 height));
    label->setWordWrap(true);
    label->setAlignment(lineAlignment(i, lines_.size()));
    lbl.push_back(label);
  }
  cmdOk = new QPushButton(QStringLiteral("Yes (F1)"), this);
  cmdCancel = new QPushButton(QStringLiteral("No (Esc)"), this);
  cmdOk->setGeometry(twipsRect(kWidth / 2 - 1650, kButtonTop, kButtonWidth, kButtonHeight));
  cmdCancel->setGeometry(twipsRect(kWidth / 2 + 250, kButtonTop, kButtonWidth, kButtonHeight));
  cmdCancel->setDefault(true);
  connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cancel(); });
  keys_.add(Qt::Key_F1, cmdOk);
  keys_.add(Qt::Key_Escape, cmdCancel);
}

int YesNoDialog::askModal(std::function<void()> yes, std::function<void()> no) {
  yes_ = std::move(yes);
  no_ = std::move(no);
  return showModal();
}

void YesNoDialog::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  showCaption();
  program().dialogOpen.raise();
}

void YesNoDialog::onUnload() { program().dialogOpen.lower(); }

void YesNoDialog::showCaption() {
  if (!captionsFromTable()) return;
  const auto caption = [](int entry) { return entry > 0 && entry < kCaptionCount ? captionTexts()[entry] : QString(); };
  setWindowTitle(caption(kTitleEntry));
  for (std::size_t i = 0; i < lbl.size(); ++i) {
    QString text;
    for (int k = 0; k < lines_[i].entries; ++k) text += caption(lines_[i].entry + k);
    lbl[i]->setText(text);
  }
  cmdOk->setText(caption(kYesEntry));
  cmdCancel->setText(caption(kNoEntry));
  for (QLabel* label : lbl) label->setFont(appFont());
  cmdOk->setFont(appFont());
  cmdCancel->setFont(appFont());
}

void YesNoDialog::keyPressEvent(QKeyEvent* event) {
  if (keys_.handle(event)) return;
  DialogForm::keyPressEvent(event);
}

void YesNoDialog::cancel() {
  yes_ = nullptr;
  const std::function<void()> no = std::exchange(no_, nullptr);
  unload();
  if (no) no();
}

void YesNoDialog::cmdOk_Click() {
  const std::function<void()> yes = std::exchange(yes_, nullptr);
  no_ = nullptr;
  unload();
  QApplication::processEvents();
  if (yes) yes();
}

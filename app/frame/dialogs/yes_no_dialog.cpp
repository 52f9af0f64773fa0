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

constexpr std::size_t kMostLines = 4;
constexpr int kLabelLeft = 180;
constexpr int kLabelTop = 150;
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

namespace {

YesNoDialog::Design questionOf(std::vector<YesNoDialog::Line> lines) {
  YesNoDialog::Design design;
  design.lines = std::move(lines);
  return design;
}

}  // namespace

YesNoDialog::YesNoDialog(std::vector<Line> lines) : YesNoDialog(questionOf(std::move(lines))) {}

YesNoDialog::YesNoDialog(Design design) : design_(std::move(design)) {
  std::vector<Line>& lines = design_.lines;
  if (lines.size() > kMostLines) lines.resize(kMostLines);
  if (lines.empty()) lines.push_back({"", 0});
  setCloseBox(CloseBox::None);
  setWindowTitle(QString::fromUtf8(design_.title.text));
  const int width = design_.width;
  const int height = design_.linesHeight / static_cast<int>(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto* label = new QLabel(QString::fromUtf8(lines[i].text), this);
    label->setGeometry(twipsRect(kLabelLeft, kLabelTop + height * static_cast<int>(i), width - 2 * kLabelLeft,
                                 height));
    label->setAlignment(lineAlignment(i, lines.size()));
    lbl.push_back(label);
  }
  cmdOk = new QPushButton(QString::fromUtf8(design_.yes.text), this);
  cmdCancel = new QPushButton(QString::fromUtf8(design_.no.text), this);
  cmdOk->setGeometry(twipsRect(width / 2 - 1650, design_.buttonTop, kButtonWidth, kButtonHeight));
  cmdCancel->setGeometry(twipsRect(width / 2 + 250, design_.buttonTop, kButtonWidth, kButtonHeight));
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
  centreInMainWindowTwips(design_.width, design_.height);
  showCaption();
  wrapOnlyLongLines();
  program().dialogOpen.raise();
}

void YesNoDialog::onUnload() { program().dialogOpen.lower(); }

void YesNoDialog::showCaption() {
  if (!captionsFromTable()) return;
  // Entries past the captions' copies are read from the table itself.
  const auto caption = [](int entry) {
    if (entry <= 0) return QString();
    return entry < kCaptionCount ? captionTexts()[entry] : tableText(entry);
  };
  setWindowTitle(caption(design_.title.entry));
  for (std::size_t i = 0; i < lbl.size(); ++i) {
    const Line& line = design_.lines[i];
    QString text;
    for (int k = 0; k < line.entries; ++k) text += caption(line.entry + k);
    lbl[i]->setText(text);
  }
  // A button without an entry keeps its design caption.
  if (design_.yes.entry > 0) cmdOk->setText(caption(design_.yes.entry));
  if (design_.no.entry > 0) cmdCancel->setText(caption(design_.no.entry));
  for (QLabel* label : lbl) label->setFont(appFont());
  cmdOk->setFont(appFont());
  cmdCancel->setFont(appFont());
}

// Each line of the design stays one line, the window growing for it (a line
// may end in the first half of a word that the next line ends); only a line
// longer than twice the design's width wraps, the window growing down.
void YesNoDialog::wrapOnlyLongLines() {
  const int longest = 2 * twipsToPixels(design_.width - 2 * kLabelLeft);
  for (QLabel* label : lbl) label->setWordWrap(label->fontMetrics().horizontalAdvance(label->text()) > longest);
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
  if (!yesAccepted()) return;
  const std::function<void()> yes = std::exchange(yes_, nullptr);
  no_ = nullptr;
  done(QDialog::Accepted);
  QApplication::processEvents();
  if (yes) yes();
}

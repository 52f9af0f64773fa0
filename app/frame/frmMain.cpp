#include "frame/frmMain.h"

#include "frame/frmDebugMessage.h"
#include "frame/frmDspParam.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

// The hidden key sequence that opens the debug-message window.
constexpr int kKeySequence[] = {Qt::Key_V, Qt::Key_E, Qt::Key_L, Qt::Key_M, Qt::Key_O, Qt::Key_R};
constexpr int kKeySequenceLength = 6;

constexpr int kButtonLeft = 600;
constexpr int kButtonWidth = 4200;
constexpr int kButtonHeight = 540;
constexpr int kButtonTop = 300;
constexpr int kButtonStep = 660;
constexpr int kTitleEntry = 63;

}  // namespace

frmMain::frmMain() {
  setWindowTitle(QStringLiteral("Main Menu"));
  int top = kButtonTop;
  for (const MainMenuCommand& command : mainMenuCommands()) {
    if (!command.buttonCaption) continue;
    auto* pressed = new QPushButton(QString::fromLatin1(command.buttonCaption), this);
    pressed->setGeometry(twipsRect(kButtonLeft, top, kButtonWidth, kButtonHeight));
    top += kButtonStep;
    connect(pressed, &QPushButton::clicked, this, [open = command.open] {
      if (open) open();
    });
    buttons_[command.id] = pressed;
  }
  lblVersion = new QLabel(this);
  lblVersion->setGeometry(twipsRect(kButtonLeft, top + 60, kButtonWidth, 300));
  lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  cmdRecode = button(kCommandRecord);
  cmdPlay = button(kCommandPlay);
  cmdTransfer = button(kCommandTransfer);
  cmdCustom = button(kCommandCustom);
  cmdSs = button(kCommandSs);
  cmdEnd = button(kCommandEnd);
}

QPushButton* frmMain::button(MainMenuCommandId id) const {
  const auto found = buttons_.find(id);
  return found != buttons_.end() ? found->second : nullptr;
}

void frmMain::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  frmDspParam::instance().keepUncoveredBy(*subWindow());
  showCaption();
  enableButtons();
  keySequenceState = 0;
}

void frmMain::onUnload() { setMainStatusText(tableText(380)); }

void frmMain::onActivate() { setMainStatusText(tableText(381)); }

void frmMain::showCaption() {
  lblVersion->setText(QStringLiteral("Ver.") + program().versionTexts[0]);
  if (!captionsFromTable()) return;
  setWindowTitle(captionTexts()[kTitleEntry]);
  for (const MainMenuCommand& command : mainMenuCommands()) {
    QPushButton* pressed = button(command.id);
    if (!pressed || command.buttonEntry <= 0 || command.buttonEntry >= kCaptionCount) continue;
    pressed->setText(captionTexts()[static_cast<std::size_t>(command.buttonEntry)]);
    pressed->setFont(appFont());
  }
}

void frmMain::enableButtons() {
  for (const MainMenuCommand& command : mainMenuCommands()) {
    if (QPushButton* pressed = button(command.id)) pressed->setEnabled(isCommandEnabled(command, program()));
  }
}

void frmMain::keyPressEvent(QKeyEvent* event) {
  advanceKeySequence(event->key());
  ChildForm::keyPressEvent(event);
}

void frmMain::advanceKeySequence(int key) {
  // Any other key, a letter out of its place included, leaves the count.
  if (key != kKeySequence[keySequenceState]) return;
  if (++keySequenceState < kKeySequenceLength) return;
  keySequenceState = 0;
  frmDebugMessage::instance().showForm();
}

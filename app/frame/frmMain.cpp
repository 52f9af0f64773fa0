#include "frame/frmMain.h"

#include "frame/frmDebugMessage.h"
#include "frame/frmMdi.h"
#include "frame/main_menu_commands.h"
#include "frame/program_end.h"
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

}  // namespace

frmMain& frmMain::instance() { return programInstance<frmMain>(); }

frmMain::frmMain() {
  setWindowTitle(QStringLiteral("Main Menu"));
  const std::array<std::pair<QPushButton**, const char*>, 6> buttons{{{&cmdRecode, "Record (F1)"},
                                                                      {&cmdPlay, "Play (F2)"},
                                                                      {&cmdTransfer, "Data transfer (F3)"},
                                                                      {&cmdCustom, "Customer data (F4)"},
                                                                      {&cmdSs, "SS data (F5)"},
                                                                      {&cmdEnd, "END (F12)"}}};
  int top = kButtonTop;
  for (const auto& [button, caption] : buttons) {
    *button = new QPushButton(QString::fromLatin1(caption), this);
    (*button)->setGeometry(twipsRect(kButtonLeft, top, kButtonWidth, kButtonHeight));
    top += kButtonStep;
  }
  lblVersion = new QLabel(this);
  lblVersion->setGeometry(twipsRect(kButtonLeft, top + 60, kButtonWidth, 300));
  lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  connect(cmdRecode, &QPushButton::clicked, this, [] { openRecordWork(); });
  connect(cmdPlay, &QPushButton::clicked, this, [] { openPlay(); });
  connect(cmdTransfer, &QPushButton::clicked, this, [] { openDataTransfer(); });
  connect(cmdCustom, &QPushButton::clicked, this, [] { openCustomerRecordsWork(); });
  connect(cmdSs, &QPushButton::clicked, this, [] { openServiceStationEdit(); });
  connect(cmdEnd, &QPushButton::clicked, this, [] { requestEndOfApp(); });
}

void frmMain::onLoad() {
  centreInMainWindowTwips(kWidth, kHeight);
  showCaption();
  enableButtons();
  keySequenceState = 0;
}

void frmMain::onUnload() { frmMdi::instance().lblMdiStatus->setText(tableText(380)); }

void frmMain::onActivate() { frmMdi::instance().lblMdiStatus->setText(tableText(381)); }

void frmMain::showCaption() {
  lblVersion->setText(QStringLiteral("Ver.") + program().versionTexts[0]);
  if (!captionsFromTable()) return;
  setWindowTitle(captionTexts()[63]);
  const std::array<QPushButton*, 6> buttons{cmdRecode, cmdPlay, cmdTransfer, cmdCustom, cmdSs, cmdEnd};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i]->setText(captionTexts()[64 + i]);
    buttons[i]->setFont(appFont());
  }
}

void frmMain::enableButtons() {
  const ProgramValues& values = program();
  cmdRecode->setEnabled(values.workMode == kWorkFree);
  cmdCustom->setEnabled(values.workMode == kWorkFree);
  cmdPlay->setEnabled(values.dataFunction == kDataFree);
  cmdTransfer->setEnabled(values.dataFunction == kDataFree);
}

void frmMain::keyPressEvent(QKeyEvent* event) {
  QPushButton* pressed = nullptr;
  switch (event->key()) {
    case Qt::Key_F1: pressed = cmdRecode; break;
    case Qt::Key_F2: pressed = cmdPlay; break;
    case Qt::Key_F3: pressed = cmdTransfer; break;
    case Qt::Key_F4: pressed = cmdCustom; break;
    case Qt::Key_F5: pressed = cmdSs; break;
    case Qt::Key_F12: pressed = cmdEnd; break;
    default:
      advanceKeySequence(event->key());
      ChildForm::keyPressEvent(event);
      return;
  }
  event->accept();
  if (pressed->isEnabled()) pressed->click();
}

void frmMain::advanceKeySequence(int key) {
  // Any other key, a letter out of its place included, leaves the count.
  if (key != kKeySequence[keySequenceState]) return;
  if (++keySequenceState < kKeySequenceLength) return;
  keySequenceState = 0;
  frmDebugMessage::instance().showForm();
}

#include "frame/dialogs/frmMessage.h"

#include "frame/fit_to_text.h"
#include "frame/help.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int kBoxHeight = 2500;
constexpr int kMinimumTextWidth = 2000;
constexpr int kMargin = 500;
constexpr int kOkMinimumWidth = 860;
constexpr int kLineTops[4] = {180, 540, 840, 1140};
constexpr int kButtonTop = 1560;
constexpr int kButtonHeight = 375;
constexpr int kHelpWidth = 800;

}  // namespace

frmMessage::frmMessage() {
  for (QLabel*& label : lbl) label = new QLabel(this);
  cmdOk = new QPushButton(QStringLiteral("OK"), this);
  HelpBtn = new QPushButton(QStringLiteral("Help"), this);
  cmdOk->setDefault(true);
  connect(cmdOk, &QPushButton::clicked, this, [this] { unload(); });
  connect(HelpBtn, &QPushButton::clicked, this,
          [this] { htmlHelp(kHelpContext, helpContextForMessage(messageKey)); });
}

void frmMessage::setLabelString(const QString& key, const QString& line1, const QString& line2,
                                const QString& line3) {
  QString line0;
  if (!key.isEmpty() && key[0] >= QLatin1Char('1') && key[0] <= QLatin1Char('9')) line0 = messageTexts()[0];
  labelStrings = {line0 + key, line1, line2, line3};
  messageKey = key;
  // Once hidden for one message, the button must come back for the next.
  const bool helped = helpContextForMessage(key) != 0;
  HelpBtn->setVisible(helped);
  HelpBtn->setEnabled(helped);
}

void frmMessage::onLoad() {
  setWindowTitle(tableText(19));
  int widest = 0;
  for (std::size_t i = 0; i < lbl.size(); ++i) {
    lbl[i]->setFont(appFont());
    lbl[i]->setText(labelStrings[i]);
    lbl[i]->adjustSize();
    widest = std::max(widest, pixelsToTwips(lbl[i]->width()));
  }
  // At least as wide as its title, which the title bar shows whole.
  const int width = std::max(std::max(widest, kMinimumTextWidth) + kMargin, pixelsToTwips(titleWidthNeeded(*this)));
  const int label0Width = pixelsToTwips(lbl[0]->width());
  lbl[0]->move(twipsToPixels((width - label0Width) / 2), twipsToPixels(kLineTops[0]));
  for (std::size_t i = 1; i < lbl.size(); ++i) lbl[i]->move(twipsToPixels(kMargin / 2), twipsToPixels(kLineTops[i]));

  const int okLeft = (width - width / 4) / 2;
  const int okWidth = std::max(width / 4, kOkMinimumWidth);
  cmdOk->setGeometry(twipsRect(okLeft, kButtonTop, okWidth, kButtonHeight));
  HelpBtn->setGeometry(twipsRect(120, kButtonTop, kHelpWidth, kButtonHeight));

  // Before the main window is shown (the clock and second-copy checks) the
  // box is centred on the screen.
  const QMainWindow* main = mainWindow();
  const QRect around = main && main->isVisible() ? QRect(main->pos(), mainInnerSize())
                                                 : QGuiApplication::primaryScreen()->availableGeometry();
  const int left = pixelsToTwips(around.x()) + (pixelsToTwips(around.width()) - width) / 2;
  const int top = pixelsToTwips(around.y()) + (pixelsToTwips(around.height()) - kBoxHeight) / 2;
  setGeometryTwips(left, top, width, kBoxHeight);
  program().dialogOpen.raise();
}

void frmMessage::onUnload() { program().dialogOpen.lower(); }

void showMessage(const QString& key, const QString& line1, const QString& line2, const QString& line3) {
  frmMessage& box = frmMessage::instance();
  box.setLabelString(key, line1, line2, line3);
  box.showModal();
}

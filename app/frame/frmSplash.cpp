#include "frame/frmSplash.h"

#include "frame/common_routines.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 3000;

}  // namespace

frmSplash::frmSplash() {
  setWindowFlags(Qt::SplashScreen);
  for (QLabel*& label : Label1) label = new QLabel(this);
  Label1[0]->setGeometry(twipsRect(300, 300, 5400, 400));
  Label1[1]->setGeometry(twipsRect(900, 900, 1200, 300));
  Label1[2]->setGeometry(twipsRect(900, 1260, 1200, 300));
  Label1[3]->setGeometry(twipsRect(2160, 900, 3000, 300));
  Label1[4]->setGeometry(twipsRect(2160, 1260, 3000, 300));
  Label1[5]->setGeometry(twipsRect(300, 1800, 5400, 900));
  Label1[0]->setAlignment(Qt::AlignCenter);
  Label1[5]->setWordWrap(true);
  Label1[5]->setText(QStringLiteral(" This software is for Service pelomar VEXA-5. Collection, record data as an air "
                                    "conditioner"));
  QFont title = Label1[0]->font();
  title.setPointSize(14);
  title.setBold(true);
  Label1[0]->setFont(title);
}

void frmSplash::onLoad() {
  const QMainWindow* main = mainWindow();
  const QRect outer = main ? main->frameGeometry() : QRect();
  setGeometryTwips(pixelsToTwips(outer.x()) + pixelsToTwips(outer.width()) / 2 - kWidth / 2,
                   pixelsToTwips(outer.y()) + pixelsToTwips(outer.height()) / 2 - kHeight / 2, kWidth, kHeight);
  Label1[0]->setText(tableText(406));
  Label1[1]->setText(QStringLiteral("Version : "));
  Label1[2]->setText(QStringLiteral("Release : "));
  Label1[3]->setText(program().versionTexts[0]);
  Label1[4]->setText(generalDateText(program().versionTexts[3]));
  for (std::size_t i = 0; i < 5; ++i) {
    QFont font = Label1[i]->font();
    font.setFamily(appFont().family());
    Label1[i]->setFont(font);
  }
  if (captionsFromTable()) {
    Label1[5]->setText(tableText(408));
    Label1[5]->setFont(appFont());
  }
}

void frmSplash::keyPressEvent(QKeyEvent* event) { event->accept(); }

#include "frame/frmDspParam.h"

#include "frame/main_window.h"
#include "frame/program_icon.h"
#include "frame/program_values.h"
#include "frame/twips.h"
#include "frame/window_arrangement.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 3300;
constexpr int kHeight = 1800;
constexpr int kIconSize = 32;

}  // namespace

frmDspParam::frmDspParam() {
  // A raised panel rather than a window: no title bar, so no close box.
  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  (new QVBoxLayout(this))->setContentsMargins(0, 0, 0, 0);
  layout()->addWidget(panel);
  auto* row = new QHBoxLayout(panel);
  lblIcon = new QLabel(panel);
  lblIcon->setPixmap(programIcon().pixmap(kIconSize, kIconSize));
  lblIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  row->addWidget(lblIcon);
  auto* lines = new QVBoxLayout;
  row->addLayout(lines, 1);
  for (QLabel*& label : Label1) {
    label = new QLabel(panel);
    lines->addWidget(label);
  }
  Label1[2]->setText(QStringLiteral("Cen.Ope. : ON"));
}

void frmDspParam::onLoad() {
  QMdiSubWindow* window = subWindow();
  window->setWindowFlags(Qt::SubWindow | Qt::FramelessWindowHint);
  keepOutOfArrangements(*window);
  setGeometryTwips(0, 0, kWidth, kHeight);
  const ProgramValues& values = program();
  // A setting file of generation 2 shows no status.
  const bool shown = !values.versionTexts[0].startsWith(QLatin1Char('2'));
  for (QLabel* label : Label1) label->setVisible(shown);
  Label1[0]->setText(values.adapterOptions[0] == 1 ? QStringLiteral("ADP : plus adapter ")
                                                    : QStringLiteral("ADP : pelomar vexa5 "));
  Label1[1]->setText(QStringLiteral("Com : COM") + QString::number(values.comPortNo));
  Label1[3]->setText(QStringLiteral("Ver. : ") + values.versionTexts[0]);
}

// Only the end of the program unloads the panel.
void frmDspParam::closeEvent(QCloseEvent* event) { event->ignore(); }

void frmDspParam::keepUncoveredBy(QMdiSubWindow& window) {
  if (coverer_ != &window) {
    if (coverer_) coverer_->removeEventFilter(this);
    coverer_ = &window;
    window.installEventFilter(this);
  }
  if (!isLoaded()) return;
  const QRect panel = subWindow()->geometry();
  if (!window.geometry().intersects(panel)) return;
  const QRect inner = mainMdiArea()->viewport()->rect();
  window.move(placeClearOf(inner, window.size(), panel).topLeft());
}

// Every raise of the window (its activation among them) and every move or
// resize over the panel (an arrangement) raises the panel after it.
bool frmDspParam::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  const bool mayCover = type == QEvent::ZOrderChange || type == QEvent::Move || type == QEvent::Resize;
  if (mayCover && watched == coverer_ && isLoaded() && coverer_->geometry().intersects(subWindow()->geometry())) {
    subWindow()->raise();
  }
  return ChildForm::eventFilter(watched, event);
}

#include "frame/dialogs/frmStopRecode.h"

#include "frame/frmMdi.h"
#include "frame/program_end.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "map/frmMap.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>

namespace {

constexpr int kWidth = 4500;
constexpr int kHeight = 2500;

}  // namespace

frmStopRecode& frmStopRecode::instance() { return programInstance<frmStopRecode>(); }

frmStopRecode::frmStopRecode() {
  setWindowTitle(QStringLiteral("Pelomar Vexa 5 Software"));
  lbl1 = new QLabel(QStringLiteral("Either operation data or QVII-NET communications data"), this);
  lbl2 = new QLabel(QStringLiteral("is being recorded. Quit recording data?"), this);
  cmdOk = new QPushButton(QStringLiteral("Yes (F1)"), this);
  cmdCancel = new QPushButton(QStringLiteral("No (Esc)"), this);
  // Long texts wrap within the fixed width of the window.
  lbl1->setGeometry(twipsRect(180, 150, 4140, 570));
  lbl2->setGeometry(twipsRect(180, 720, 4140, 570));
  lbl1->setWordWrap(true);
  lbl2->setWordWrap(true);
  lbl1->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  lbl2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  cmdOk->setGeometry(twipsRect(600, 1560, 1400, 420));
  cmdCancel->setGeometry(twipsRect(2500, 1560, 1400, 420));
  cmdCancel->setDefault(true);
  connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { unload(); });
}

void frmStopRecode::onLoad() {
  // Centred in the main window's inner area, which lies on the screen where
  // the MDI area is.
  const frmMdi& main = frmMdi::instance();
  const QSize inner = main.innerSize();
  const QPoint origin = main.mdiArea->mapToGlobal(QPoint(0, 0));
  setGeometryTwips(pixelsToTwips(origin.x()) + (pixelsToTwips(inner.width()) - kWidth) / 2,
                   pixelsToTwips(origin.y()) + (pixelsToTwips(inner.height()) - kHeight) / 2, kWidth, kHeight);
  if (captionsFromTable()) {
    setWindowTitle(captionTexts()[19]);
    lbl1->setText(captionTexts()[357]);
    lbl2->setText(captionTexts()[358]);
    cmdOk->setText(captionTexts()[15]);
    cmdCancel->setText(captionTexts()[16]);
    for (QWidget* control : {static_cast<QWidget*>(lbl1), static_cast<QWidget*>(lbl2),
                             static_cast<QWidget*>(cmdOk), static_cast<QWidget*>(cmdCancel)}) {
      control->setFont(appFont());
    }
  }
  program().dialogOpen.raise();
}

void frmStopRecode::onUnload() { program().dialogOpen.lower(); }

void frmStopRecode::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    if (cmdOk->isEnabled()) cmdOk->click();
    return;
  }
  DialogForm::keyPressEvent(event);
}

void frmStopRecode::cmdOk_Click() {
  unload();
  QApplication::processEvents();
  if (idCalledFrom == 0) {
    frmMap::instance().prepareForEndFormMap();
  } else if (idCalledFrom == 1) {
    prepareEndOfApp();
  }
}

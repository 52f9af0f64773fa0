#include "records/frmCustomsList.h"

#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "map/frmInterface.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

frmCustomsList::frmCustomsList() {
  setWindowTitle(QStringLiteral("Customer Selection"));
  cmdRecodeOnly = new QPushButton(QStringLiteral("Record only (F1)"), this);
  // Top left, where the stand-in keeps every arrangement of the windows whole.
  cmdRecodeOnly->setGeometry(twipsRect(450, 450, 1800, 420));
  lblRecodeOnly = new QLabel(QStringLiteral("(No data control)"), this);
  lblRecodeOnly->setGeometry(twipsRect(450, 900, 1800, 270));
  lblRecodeOnly->setAlignment(Qt::AlignCenter);
  connect(cmdRecodeOnly, &QPushButton::clicked, this, [this] { cmdRecodeOnly_Click(); });
  keys_.add(Qt::Key_F1, cmdRecodeOnly);
}

void frmCustomsList::onLoad() {
  centreInMainWindowTwips(7200, 5400);
  clearCustomerInfo();
  if (captionsFromTable()) {
    cmdRecodeOnly->setText(tableText(73));
    lblRecodeOnly->setText(tableText(74));
  }
  const bool recording = program().workMode == kWorkRecording;
  cmdRecodeOnly->setEnabled(recording);
  lblRecodeOnly->setEnabled(recording);
}

void frmCustomsList::onCancel() { program().workMode = kWorkFree; }

void frmCustomsList::keyPressEvent(QKeyEvent* event) {
  if (keys_.handle(event)) return;
  WorkForm::keyPressEvent(event);
}

void frmCustomsList::cmdRecodeOnly_Click() {
  unload();
  frmInterface::instance().showForMap(1, 0);
}

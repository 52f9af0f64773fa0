// Pelomar3: the field-service program for multi-unit air-conditioning
// installations.
#include "frame/frmMdi.h"
#include "frame/text_table.h"
#include "frame/twips.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // Lang.ini is read from the folder current at start, before any window.
  loadTextTable();
  copyTextsToLabelGlobals();

  frmMdi& main = frmMdi::instance();
  main.resize(twipsToPixels(9600), twipsToPixels(7095));
  main.show();
  return application.exec();
}

// Pelomar3: the field-service program for multi-unit air-conditioning
// installations.
#include "frame/program_start.h"
#include "program_windows.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The program ends by its own road (settings written, windows closed), not
  // when a window happens to be the last one closed.
  QApplication::setQuitOnLastWindowClosed(false);
  // The windows are laid out in twips for captions in an 8-point face; the
  // desktop's larger default would cut the captions of buttons and columns.
  QFont designFont = QApplication::font();
  designFont.setPointSize(8);
  QApplication::setFont(designFont);
  installProgramWindows();
  if (!startProgram()) return 0;
  return application.exec();
}

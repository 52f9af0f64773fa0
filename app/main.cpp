// Pelomar3: the field-service program for multi-unit air-conditioning
// installations.
#include "frame/program_start.h"
#include "program_windows.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The program ends by its own road (settings written, windows closed), not
  // when a window happens to be the last one closed.
  QApplication::setQuitOnLastWindowClosed(false);
  installProgramWindows();
  if (!startProgram()) return 0;
  return application.exec();
}

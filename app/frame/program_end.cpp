#include "frame/program_end.h"

void prepareEndOfApp() {
  // The steps join here with the start-up and the end timer of the main window.
}

#include "frame/program_values.h"

ProgramValues& program() {
  static ProgramValues values;
  return values;
}

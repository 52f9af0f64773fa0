#include "frame/dialogs/frmStopRecode.h"

frmStopRecode::frmStopRecode()
    : SingleForm({{"Either operation data or QVII-NET communications data", 357},
                  {"is being recorded. Quit recording data?", 358}}) {
  lbl1 = lbl[0];
  lbl2 = lbl[1];
}

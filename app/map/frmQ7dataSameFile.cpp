#include "map/frmQ7dataSameFile.h"

frmQ7dataSameFile::frmQ7dataSameFile()
    : SingleForm({{"Save the previous QVII-NET communications data.", 327}, {"OK?", 328}}) {
  lbl1 = lbl[0];
  lbl2 = lbl[1];
}

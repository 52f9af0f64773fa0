#include "map/frmDataChangeConfirm.h"

frmDataChangeConfirm::frmDataChangeConfirm() : SingleForm({{"Parameter Set ?", 502}, {"", 503}}) {}

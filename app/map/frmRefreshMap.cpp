#include "map/frmRefreshMap.h"

frmRefreshMap::frmRefreshMap()
    : SingleForm({{"Network map will be updated.", 335},
                  {"System will be on standby for restarting and aircondi-", 336},
                  {"tioners on QVII-NET will stop for several minutes. OK?", 337}}) {}

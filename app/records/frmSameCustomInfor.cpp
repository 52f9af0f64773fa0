#include "records/frmSameCustomInfor.h"

frmSameCustomInfor::frmSameCustomInfor()
    : SingleForm(Design{7000,
                        4000,
                        {"Same customer data already exists.", 338},
                        {"Current customer data", 339},
                        {"Overwrite the following new customer data?", 340},
                        {{"Customer ID", 79}, {"Customer name", 80}},
                        {"Yes (F1)", 341},
                        {"Yes to all (F2)", 342},
                        {"No (F3)", 343}}) {
  txtOldId = oldBoxes[0];
  txtOldName = oldBoxes[1];
  txtNewId = newBoxes[0];
  txtNewName = newBoxes[1];
}

void frmSameCustomInfor::showCustomers(const DataShowCustom& existing, const DataShowCustom& copied) {
  setFields({existing.customId, existing.customName}, {copied.customId, copied.customName});
}

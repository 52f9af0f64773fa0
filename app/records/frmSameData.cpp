#include "records/frmSameData.h"

#include "frame/common_routines.h"
#include "records/data_show_cells.h"

namespace {

QStringList fieldsOf(const CatalogueRow& row) {
  return {row.custom->customId,         row.custom->customName,         row.file->mapName,
          systemNumberText(row.file->systemNumber), recordFileDateTimeText(*row.file), fileSizeText(row.file->fileSize)};
}

}  // namespace

frmSameData::frmSameData()
    : SingleForm(Design{7000,
                        5000,
                        {"Same operation data already exists.", 344},
                        {"Current operation data", 345},
                        {"Overwrite the following new operation data?", 350},
                        {{"Customer ID", 79},
                         {"Customer name", 80},
                         {"Network map name", 346},
                         {"System No.", 347},
                         {"Record start time", 348},
                         {"File size", 349}},
                        {"Yes (F1)", 351},
                        {"Yes to all (F2)", 352},
                        {"No (F3)", 353}}) {
  QLineEdit** const olds[] = {&txtOldId,       &txtOldName, &txtOldMap, &txtOldSystemNo, &txtOldRecodeStartTime,
                              &txtOldFileSize};
  QLineEdit** const news[] = {&txtNewId,       &txtNewName, &txtNewMap, &txtNewSystemNo, &txtNewRecodeStartTime,
                              &txtNewFileSize};
  for (std::size_t i = 0; i < std::size(olds); ++i) {
    *olds[i] = oldBoxes[i];
    *news[i] = newBoxes[i];
  }
}

void frmSameData::showFiles(const CatalogueRow& existing, const CatalogueRow& copied) {
  setFields(fieldsOf(existing), fieldsOf(copied));
}

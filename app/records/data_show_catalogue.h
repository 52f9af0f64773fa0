// The catalogue of recorded files: the customer folders of a folder (each a
// sub-folder holding a customer file named like it), the folder itself
// last, and the files the library lists for each; and the order in which
// the windows show them, one grid row per file.
#pragma once

#include "frame/file_operations.h"
#include "types/DataShowManager.h"

#include <QString>

#include <memory>
#include <vector>

class TramsollApi;

// A customer folder found by the walk.
struct CustomerFolder {
  QString id;                // the sub-folder's name as it is on disk
  QString customerFileName;  // its "<id>.dak" as spelled on disk
};

struct CustomerFolderWalk {
  std::vector<CustomerFolder> customers;  // in name order ignoring case
  // The first folder that could not be listed. The walk goes on past a
  // sub-folder it cannot list; when `folder` itself cannot be listed it
  // finds nothing.
  FileOutcome outcome;
};

// The sub-folders of `folder` that hold a file named like the sub-folder
// with ".dak" (compared without regard to case); hidden ones are skipped.
CustomerFolderWalk walkCustomerFolders(const QString& folder);

// How a catalogue is built.
enum class FolderEnding { Slash, None };  // customDir with or without the final "/"
enum class FileNames { Dropped, Kept };   // DataShowFile::fileName left empty or filled

struct CatalogueBuild {
  std::shared_ptr<DataShowManager> catalogue;
  FileOutcome outcome;  // the walk's
};

// The customer folders of `folder` as DataShowCustoms numbered from 1, with
// the names read from their customer files ("" for one that cannot be
// read); no files, no library call.
CatalogueBuild makeCustomerList(const QString& folder, FolderEnding ending);

// The whole catalogue: the customer folders, then `folder` itself (empty id
// and name), every customDir a library folder text ending in "/", and each
// folder's files as the library lists them (getFileNum, then getFileInfo
// for each, in the library's order).
CatalogueBuild makeDataShowList(const QString& folder, TramsollApi& api, FileNames names = FileNames::Dropped);

// Releases the catalogue's folders and files, last to first.
void clearDataShowList(DataShowManager& catalogue);

// One file of the catalogue with its folder.
struct CatalogueRow {
  std::shared_ptr<DataShowCustom> custom;
  std::shared_ptr<DataShowFile> file;
  explicit operator bool() const { return custom && file; }
};

// The files in the order of the grid's rows: folders by customNumber from 1,
// within each its files by fileNumber from 1; a number without an entry is
// skipped.
std::vector<CatalogueRow> catalogueRows(const DataShowManager& catalogue);
// The file of grid row `row` (1 = the first file); empty outside.
CatalogueRow catalogueRow(const DataShowManager& catalogue, int row);
int catalogueFileCount(const DataShowManager& catalogue);

// The grid row to select after filling, given the row remembered before
// (0: none) and the grid's row count with its heading row: the remembered
// row, 1 when none, the last row when it lies at or past the end; 0 when
// the grid has no file row.
int rowToSelect(int selectedRow, int rowCount);

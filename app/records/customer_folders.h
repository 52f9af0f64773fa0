// The customer folders of the program folder as the customer windows change
// them: whether an id is taken, the move of a customer to a new id, and the
// deletion of a customer with its recordings. A customer is a sub-folder
// <id> holding <id>.dak, its recordings (*.das) beside it; names are
// compared without regard to case.
#pragma once

#include "frame/file_operations.h"

#include <QString>

// True when a folder named like the id holds the customer file named after
// it.
bool isCustomerIdTaken(const QString& id);

struct CustomerMove {
  enum class Result {
    Moved,  // done (also when the old customer has no folder to move)
    Clash,  // a recording's name is taken in the new folder: nothing moved
    Failed  // a move failed: the moves before it were undone
  };
  Result result = Result::Moved;
  // Failed: the call that failed. Moved: set when the emptied old folder
  // could not be removed (the move itself stands).
  FileOutcome outcome;
};

// Moves the customer from the folder of oldId to newId, checked before
// anything moves and never replacing a file. Without a folder newId the old
// folder takes the new name and its customer file newId.dak. Into an
// existing folder newId (one without a customer file) the recordings move
// first, the customer file last as newId.dak, and the old folder goes when
// no file is left in it.
CustomerMove moveCustomer(const QString& oldId, const QString& newId);

// Deletes the customer file and the recordings of the customer's folder,
// then the folder when no file is left (a folder keeping another file, or a
// sub-folder, stays). Every step runs; the answer is the first failure.
FileOutcome deleteCustomerFiles(const QString& id);

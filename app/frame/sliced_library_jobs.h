// The library's sliced jobs as slices for the SliceDriver, each once it is
// set up: the CSV conversion (setCsvFile, CsvDateSet), the min/max search
// (setMinMaxSrch) and the value search (setDataSrch).
#pragma once

#include "frame/slice_driver.h"

// execCsvOut until it finishes; a failure's value is the library's answer
// (2: the file list is gone, 3: a file could not be written).
SliceDriver::Slice csvConversionSlices();
// execMinMaxSrch until the pass is done; getMinMaxData then has the values.
SliceDriver::Slice minMaxSearchSlices();
// execDataSrch until it stops; the finished value is the 1-based record
// found, 0 when no record matches. Any other answer fails the job with it.
SliceDriver::Slice dataSearchSlices();

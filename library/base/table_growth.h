// Growing the library's tables one record at a time. A table that cannot
// grow stays as it was, latches the memory fault and says which table it was,
// so gathering goes on with what it already holds.
#pragma once

#include <new>
#include <vector>

namespace tramsoll {

// Latches the memory fault and writes "MemMngr: malloc error for <table>".
void reportAllocationFailure(const char* tableName);

// Throws std::bad_alloc while a test has asked for failing growths.
void checkInjectedAllocationFailure();

// Makes the next `count` growths fail as if memory had run out (tests only).
void failNextGrowths(int count);

// Runs `work`, which allocates for the table; when memory runs out the
// failure is reported and the answer is false. `work` must leave the table
// as it was when it throws (the standard containers' growth does).
template <class Work>
bool allocateOrReport(const char* tableName, Work work) {
  try {
    checkInjectedAllocationFailure();
    work();
    return true;
  } catch (const std::bad_alloc&) {
    reportAllocationFailure(tableName);
    return false;
  }
}

// Appends one value-initialised record; on allocation failure the table is
// unchanged (the count is restored) and the answer is false.
template <class T>
bool growByOne(std::vector<T>& table, const char* tableName) {
  return allocateOrReport(tableName, [&] { table.emplace_back(); });
}

}  // namespace tramsoll

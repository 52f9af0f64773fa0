// The trigger file's own operations: cutting its oldest records away through
// a work file, marking the trigger record, and deleting it.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "files/file_io.h"
#include "files/recording.h"
#include "files/recording_step.h"

namespace tramsoll {

namespace {

constexpr std::size_t kCopyPiece = 2048;

void reportCloseError(int result) { logLine("FileHndl: fclose function error!! (ret=%Xh)", static_cast<unsigned>(result)); }

// Copies `size` bytes from `from` at `source` to the end of `to`, in pieces.
bool copyBytes(FileHandle& from, uint64_t source, FileHandle& to, uint64_t size) {
  uint8_t piece[kCopyPiece];
  while (size > 0) {
    std::size_t length = size < kCopyPiece ? static_cast<std::size_t>(size) : kCopyPiece;
    if (!from.readAt(source, piece, length) || !to.append(piece, length)) return false;
    source += length;
    size -= length;
  }
  return true;
}

// Writes the new file's header, the blocks and the kept records to the work
// file and pushes them to the device.
bool writeWorkFile(FileHandle& trigger, FileHandle& work, const das::FileHeader& next, int32_t count) {
  const das::FileHeader& now = saveSlot(kTriggerSlot).header;
  uint8_t head[das::kHeaderSize];
  das::encodeHeader(next, head);
  uint64_t recordSize = now.recordSize;
  uint64_t firstKept = now.firstRecordOffset + recordSize * static_cast<uint64_t>(count);
  return work.append(head, sizeof head) &&
         copyBytes(trigger, das::kHeaderSize, work, now.firstRecordOffset - das::kHeaderSize) &&
         copyBytes(trigger, firstKept, work, recordSize * next.recordCount) && work.flush();
}

}  // namespace

std::string triggerWorkFileName() {
  const std::string& name = saveSlot(kTriggerSlot).name;
  std::size_t slash = name.rfind('/');
  return (slash == std::string::npos ? std::string() : name.substr(0, slash + 1)) + kTriggerWorkFile;
}

bool cutTriggerFile(int32_t count) {
  SaveSlot& slot = saveSlot(kTriggerSlot);
  int32_t held = static_cast<int32_t>(slot.header.recordCount);
  if (!slot.used() || count <= 0 || count >= held) return false;
  FileHandle trigger(slot.name, O_RDONLY);
  if (!trigger.isOpen()) return false;
  std::string workName = triggerWorkFileName();
  FileHandle work(workName, O_WRONLY | O_CREAT | O_TRUNC);
  if (!work.isOpen()) return false;

  das::FileHeader next = slot.header;
  next.recordCount = static_cast<uint32_t>(held - count);
  uint8_t time[das::kRecordTimeSize];
  uint64_t firstKept = slot.header.firstRecordOffset + uint64_t{slot.header.recordSize} * static_cast<uint64_t>(count);
  bool written = trigger.readAt(firstKept, time, sizeof time);
  if (written) {
    next.firstRecordTime = das::getU32(time);
    written = writeWorkFile(trigger, work, next, count);
  }
  int closed = work.close();
  if (closed != 0) {
    reportCloseError(closed);
    setBits(errFault, fault::kDataFile);
  } else if (!written) {
    logLine("FileHndl: TrgFile Swap error \"%s\"", workName.c_str());
  }
  if (!written || closed != 0) {
    ::unlink(workName.c_str());
    return false;
  }
  logLine("FileHndl: TrgFile Swap DatNum %d -> %d", held, held - count);
  if (std::rename(workName.c_str(), slot.name.c_str()) != 0) {
    ::unlink(workName.c_str());
    return false;
  }
  slot.header = next;
  return true;
}

void dropOldestTriggerRecords(int32_t count) { cutTriggerFile(count); }

void markTriggerRecord() {
  SaveSlot& slot = saveSlot(kTriggerSlot);
  if (!slot.used()) return;
  // Kept in memory first: when the file cannot be written now, the next
  // append writes the header with the mark.
  slot.header.triggerRecord = slot.header.recordCount > 0 ? slot.header.recordCount - 1 : 0;
  FileHandle file(slot.name, O_RDWR);
  if (!file.isOpen()) {
    logLine("FileHndl: file open error!!");
    return;
  }
  uint8_t head[das::kHeaderSize];
  das::encodeHeader(slot.header, head);
  if (!file.writeAt(0, head, sizeof head)) {
    logLine("FileHndl: SvFile write error \"%s\"", slot.name.c_str());
    setBits(errFault, fault::kDataFile);
    return;
  }
  int closed = file.close();
  if (closed != 0) {
    reportCloseError(closed);
    setBits(errFault, fault::kDataFile);
  }
}

void deleteTriggerFile() {
  const SaveSlot& slot = saveSlot(kTriggerSlot);
  if (slot.used()) ::unlink(slot.name.c_str());
}

}  // namespace tramsoll

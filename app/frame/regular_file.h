// Reading the files the program finds in its folders and the user's
// configuration: each must be a regular file before it is opened (so no
// device is ever opened) and still the same one on the descriptor that was
// opened without waiting (then read as any file, so a file system that
// honours the flag does not fail the read), and is read no further than its
// size at the opening. A FIFO, a device, a socket or a folder in a file's place is
// refused instead of stopping the program or filling its memory.
#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// None of the program's files comes near this; a larger one would only
// exhaust the memory.
inline constexpr off_t kLargestRegularFile = off_t{256} * 1024 * 1024;

struct RegularFileRead {
  QByteArray content;
  int error = 0;            // the errno of the failed call, 0 when read
  bool opened = false;      // the opening went well (a failure came later)
  bool notRegular = false;  // not a regular file, or not the one looked at

  explicit operator bool() const { return error == 0 && !notRegular; }
  // Why the file was not read, in the system's words.
  QString reason() const;
};

// The whole file as it stood when it was opened; a file over `largest`
// bytes is refused with EFBIG, unread.
RegularFileRead readRegularFile(const QString& path, off_t largest = kLargestRegularFile);
// Whether the path is a regular file that opens without waiting (links are
// followed); an absent file is not one.
bool opensAsRegularFile(const QString& path);

// What stands at the path itself, links not followed.
enum class PathKind { Absent, RegularFile, Other };
PathKind pathKind(const QString& path);

// Reading the files the program finds in its folders and the user's
// configuration: each is opened without waiting, must be a regular file on
// the descriptor that was opened, and is read no further than its size at
// the opening. A FIFO, a device, a socket or a folder in a file's place is
// refused instead of stopping the program or filling its memory.
#pragma once

#include <QByteArray>
#include <QString>

struct RegularFileRead {
  QByteArray content;
  int error = 0;            // the errno of the failed call, 0 when read
  bool opened = false;      // the opening went well (a failure came later)
  bool notRegular = false;  // opened, but not a regular file

  explicit operator bool() const { return error == 0 && !notRegular; }
  // Why the file was not read, in the system's words.
  QString reason() const;
};

// The whole file as it stood when it was opened; a file over 256 MB is
// refused with EFBIG.
RegularFileRead readRegularFile(const QString& path);
// Whether the path opens, without waiting, as a regular file (links are
// followed); an absent file is not one.
bool opensAsRegularFile(const QString& path);

// What stands at the path itself, links not followed.
enum class PathKind { Absent, RegularFile, Other };
PathKind pathKind(const QString& path);

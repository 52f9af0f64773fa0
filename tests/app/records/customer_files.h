// Helpers of the customer-record window tests: the files of the program
// folder, and the message a step shows.
#pragma once

#include "support/program_fixture.h"

#include <QDir>
#include <QDirIterator>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

// Every file below the program folder as "folder/name", and every empty
// folder as "folder/", in name order; the program's own csv and q7data
// folders are left out.
inline QStringList filesBelow(const ScratchFolder& scratch) {
  QStringList found;
  const QDir top(scratch.path());
  QDirIterator walk(scratch.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (walk.hasNext()) {
    const QFileInfo entry(walk.next());
    const QString relative = top.relativeFilePath(entry.filePath());
    if (relative.startsWith(QLatin1String("csv")) || relative.startsWith(QLatin1String("q7data"))) continue;
    if (entry.isFile()) found << relative;
    if (entry.isDir() && QDir(entry.filePath()).isEmpty()) found << relative + QLatin1Char('/');
  }
  found.sort();
  return found;
}

// The lines of the frmMessage that `step` shows, the first "Error No.:"
// and the key (empty when none came).
inline QStringList messageOf(const std::function<void()>& step) {
  QStringList lines;
  const QPointer<QTimer> watch = readNextMessage(lines);
  step();
  if (watch && lines.isEmpty()) delete watch.data();
  return lines;
}

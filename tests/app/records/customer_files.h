// Helpers of the customer-record window tests: the files of the program
// folder, and the message a step shows.
#pragma once

#include "frame/dialogs/frmMessage.h"
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

// The key and the three lines of the frmMessage that `step` shows (empty
// when none).
inline QStringList messageOf(const std::function<void()>& step) {
  QStringList shown;
  const QPointer<QTimer> watch = answerNextModal([&shown](QWidget* modal) {
    if (auto* box = qobject_cast<frmMessage*>(modal)) {
      shown = QStringList{box->messageKey, box->labelStrings[1], box->labelStrings[2], box->labelStrings[3]};
    }
    modal->close();
  });
  step();
  if (watch && shown.isEmpty()) delete watch.data();
  return shown;
}

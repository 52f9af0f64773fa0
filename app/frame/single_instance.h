// One running copy per user: a lock file in the user's runtime folder, and
// beside it a local socket on which the running copy listens, so that a
// second start brings the running copy's main window to the front.
#pragma once

#include <QString>

// Takes the lock in `folder` (the user's runtime folder when empty). False
// only when another running copy holds it; a folder where no lock can be
// made does not keep the program from starting.
bool takeInstanceLock(const QString& folder);
// Listens on the socket beside the lock for later starts, which bring the
// main window to the front.
void listenForLaterStarts(const QString& folder);
// Asks the copy that holds the lock to bring its main window to the front.
void bringRunningCopyToFront(const QString& folder);
// Gives up the lock and stops listening.
void releaseInstanceLock();

// The folder of the lock and the socket: `folder`, else the runtime folder.
QString instanceFolder(const QString& folder);
inline constexpr const char* kInstanceLockName = "pelomar3.lock";
inline constexpr const char* kInstanceSocketName = "pelomar3.socket";

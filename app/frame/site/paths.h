// Where the program's files are, and names looked up without regard to case.
#pragma once

#include <QString>

// The folder that holds the executable. Start-up makes it the current folder;
// the library file, the site files and the data folders lie there.
QString programFolder();
// Moves the program folder elsewhere (tests point it at a scratch folder).
void setProgramFolder(const QString& folder);
// A file name inside the program folder.
QString programFolderFile(const QString& name);

enum class EntryKind { File, Folder };

// The name of the entry of `folder` that equals `name` without regard to
// case: the exact name when it exists, else the first match in name order,
// else "" (none, or the folder cannot be read).
QString findEntryNoCase(const QString& folder, const QString& name, EntryKind kind);
// `folder` joined with the entry found without regard to case, or with
// `name` itself when there is none yet (the name a new entry gets).
QString resolveNoCase(const QString& folder, const QString& name, EntryKind kind);

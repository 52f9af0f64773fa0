// The folder texts the library is given for its file lists. The library
// tells folders apart by their text, byte for byte, so every window builds
// them here: the folder, "/", the sub-folder's name as it is on disk, "/".
#pragma once

#include <QString>

// The folder with a final "/" (added only when missing).
QString libraryFolderText(const QString& folder);
// A sub-folder of `parent` under its on-disk name, with a final "/".
QString libraryFolderText(const QString& parent, const QString& name);
// The program folder's own text.
QString programFolderText();
// The folder of a customer: the program folder's sub-folder named like the
// id without regard to case (the id itself when there is none yet), with
// and without the final "/".
QString customerFolderPath(const QString& id);
QString customerFolderText(const QString& id);

// How the windows tell the engineer that a site file or a data folder could
// not be read or written.
#pragma once

#include "frame/file_operations.h"
#include "frame/site/site_files.h"

// A site file that could not be read, in the message box over the main
// window: a damaged one with its line, else the reason.
void showSiteFileWarning(const SiteFileResult& result);
// Message "21-3": a folder or file that could not be written, renamed,
// moved or deleted, with the errno and its description.
void showFileFault(const FileOutcome& outcome);
// A failed save: "21-3" when a file operation failed, else the warning.
void showSaveFailure(const SiteFileResult& result);

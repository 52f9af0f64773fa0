// The program's help: local pages in the program folder's "help", the
// user's guide "index.html" and a page "<context>.html" per context number,
// shown with the desktop's viewer.
#pragma once

#include <QString>

enum HelpCommand { kHelpDisplayTopic = 0, kHelpContext = 15, kHelpCloseAll = 18 };

// Context of the help topic of a numbered message, 0 when it has none.
int helpContextForMessage(const QString& key);
// The page of a command and context in the program folder ("" for close-all).
QString helpPagePath(HelpCommand command, int context);
// Opens the page of the topic or context with the desktop's viewer; says
// that help is not installed when the page is missing, and names the page
// when no viewer opened it. Close-all does nothing: the viewer is another
// program.
void htmlHelp(HelpCommand command, int context);

// The help file pelomar.chm in the program folder.
#pragma once

#include <QString>

enum HelpCommand { kHelpDisplayTopic = 0, kHelpContext = 15, kHelpCloseAll = 18 };

// Context of the help topic of a numbered message, 0 when it has none.
int helpContextForMessage(const QString& key);
// Opens the help file (topic or context) or closes what it opened.
void htmlHelp(HelpCommand command, int context);

// The program's own icon, on the title bars of its windows and in its
// desktop entry.
#pragma once

#include <QIcon>

// icons/pelomar3.png of the program folder when the icons are laid out
// there, else the icon built into the program.
QIcon programIcon();

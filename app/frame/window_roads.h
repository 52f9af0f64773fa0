// Windows that other windows lead back to, or that a window of a folder
// below them opens and puts away. A window that shows another which in turn
// leads back to it, or reads it, would make its folder's includes go round
// in a circle; the way is taken by name instead, and the program installs
// what each way does.
#pragma once

#include <functional>

enum class WindowRoad {
  CustomerList,           // the customer list, built afresh
  CustomerEditor,         // the customer editor on the current customer
  MapsList,               // the map list of the current customer
  UnitInformation,        // the unit information editor on the map's chosen system
  UnitInformationUnload,  // the unit information editor and list put away with their map
};

// Puts `show` in place for the road; null removes it.
void installWindowRoad(WindowRoad road, std::function<void()> show);
// Shows the road's window; false when the program has installed none.
bool takeWindowRoad(WindowRoad road);

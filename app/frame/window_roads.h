// Roads between windows of folders that must not include each other (the
// customer list opens the access-method window, which goes back to the
// customer list), and the log of roads whose window is not built yet.
//
// The program fills the roads once (installProgramWindows); a road not
// filled only logs that it was taken.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

struct WindowRoads {
  std::function<void()> showCustomsList;  // the customer list, shown and focused
  std::function<void()> showMapsList;     // the list of the current customer's maps
};

WindowRoads& windowRoads();
// Runs the road, or logs it by name when it is not filled.
void takeRoad(const std::function<void()>& road, const QString& name);

// A road into a window or routine that is not built yet: logged (for the
// engineer on the program's output, for the tests in unbuiltRoadsTaken).
void noteUnbuiltRoad(const QString& name);
QStringList& unbuiltRoadsTaken();

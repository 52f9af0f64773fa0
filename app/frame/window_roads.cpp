#include "frame/window_roads.h"

#include <map>

namespace {

std::map<WindowRoad, std::function<void()>>& roads() {
  static std::map<WindowRoad, std::function<void()>> installed;
  return installed;
}

}  // namespace

void installWindowRoad(WindowRoad road, std::function<void()> show) { roads()[road] = std::move(show); }

bool takeWindowRoad(WindowRoad road) {
  const auto found = roads().find(road);
  if (found == roads().end() || !found->second) return false;
  // A copy: the window shown may install roads of its own.
  const std::function<void()> show = found->second;
  show();
  return true;
}

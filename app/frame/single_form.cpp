#include "frame/single_form.h"

#include <utility>
#include <vector>

namespace {

struct ListedWindow {
  QPointer<QObject> window;
  std::function<void()> destroy;
};

std::vector<ListedWindow>& listed() {
  static std::vector<ListedWindow> windows;
  return windows;
}

}  // namespace

void listSingleWindow(QObject* window, std::function<void()> destroy) {
  listed().push_back({window, std::move(destroy)});
}

void destroySingleWindows() {
  // A window destroyed with its owner (a dialog with the main window) is
  // already gone when its turn comes.
  std::vector<ListedWindow> windows = std::move(listed());
  listed().clear();
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    if (window->window) window->destroy();
  }
}

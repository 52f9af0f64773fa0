#include "display/display_window_owner.h"

#include <algorithm>

namespace {

DisplayWindowOwner::Factory& factory() {
  static DisplayWindowOwner::Factory maker;
  return maker;
}

}  // namespace

void DisplayWindowOwner::setFactory(Factory maker) { factory() = std::move(maker); }

DisplayWindowOwner::~DisplayWindowOwner() {
  // Windows that outlive their opener must not call back into it.
  for (const auto& window : windows_) window->leaveOwner_ = nullptr;
}

int32_t DisplayWindowOwner::nextFormNumber() const {
  int32_t highest = 0;
  for (const auto& window : windows_) highest = std::max(highest, window->formNumber);
  return highest + 1;
}

std::shared_ptr<frmDataShow> DisplayWindowOwner::newWindow() const {
  std::shared_ptr<frmDataShow> window = factory() ? factory()() : frmDataShow::create();
  if (window) window->formNumber = nextFormNumber();
  return window;
}

bool DisplayWindowOwner::add(const std::shared_ptr<frmDataShow>& window) {
  if (!window || flagForEnd_) return false;
  if (!windows_.add(window, QString::number(window->formNumber))) return false;
  window->leaveOwner_ = [this](const frmDataShow& form) { removeFormDataShow(form); };
  return true;
}

void DisplayWindowOwner::removeFormDataShow(const frmDataShow& form) {
  const QString key = QString::number(form.formNumber);
  const auto held = windows_.item(key);
  if (!held) return;
  held->leaveOwner_ = nullptr;
  windows_.remove(key);
}

void DisplayWindowOwner::prepareForEnd() {
  flagForEnd_ = true;
  closeWindows();
}

void DisplayWindowOwner::closeWindows() {
  // Walk a copy: a window may leave the collection while it is told.
  const Collection<frmDataShow> told = windows_;
  for (const auto& window : told) window->prepareForEndFormDataShow();
}

#include "frame/event_manager.h"

#include <algorithm>
#include <memory>

std::shared_ptr<EventForm> EventManager::find(const QString& formName, int32_t formNumber, int32_t formKind) const {
  for (const auto& form : eventForms) {
    if (form->formName == formName && form->formNumber == formNumber && form->formKind == formKind) return form;
  }
  return nullptr;
}

bool EventManager::anyWindow(bool (*test)(const EventForm&)) const {
  return std::any_of(eventForms.begin(), eventForms.end(), [test](const auto& form) { return test(*form); });
}

void EventManager::setEvent(const QString& formName, int32_t formNumber, int32_t formKind, int32_t code) {
  if (const auto form = find(formName, formNumber, formKind)) {
    switch (code) {
      case kLoadEvent: form->loadEvent = true; break;
      case kUserEvent: form->userEvent = true; break;
      case kTimerEvent: form->timerEvent = true; break;
      case kCloseEvent: form->closeEvent = true; break;
      default: break;
    }
    return;
  }
  if (code != kLoadEvent) return;
  int32_t highest = 0;
  for (const auto& form : eventForms) highest = std::max(highest, form->idNumber);
  auto form = std::make_shared<EventForm>();
  form->idNumber = highest + 1;
  form->formName = formName;
  form->formNumber = formNumber;
  form->formKind = formKind;
  form->loadEvent = true;
  eventForms.add(form, QString::number(form->idNumber));
}

void EventManager::clearEvent(const QString& formName, int32_t formNumber, int32_t formKind, int32_t code) {
  const auto form = find(formName, formNumber, formKind);
  if (!form) return;
  switch (code) {
    case kLoadEvent: form->loadEvent = false; break;
    case kUserEvent: form->userEvent = false; break;
    case kTimerEvent: form->timerEvent = false; break;
    case kCloseEvent: eventForms.remove(QString::number(form->idNumber)); break;
    default: break;
  }
}

bool EventManager::askEvent(const QString& formName, int32_t formNumber, int32_t formKind, int32_t code) const {
  const auto form = find(formName, formNumber, formKind);
  switch (code) {
    case kLoadEvent:
      return !(form && (form->loadEvent || form->closeEvent));
    case kUserEvent:
      if (anyWindow([](const EventForm& f) { return f.loadEvent; })) return false;
      return form && !form->userEvent && !form->timerEvent && !form->closeEvent;
    case kTimerEvent:
      if (anyWindow([](const EventForm& f) { return f.loadEvent || f.userEvent || f.timerEvent || f.closeEvent; })) {
        return false;
      }
      return form != nullptr;
    case kCloseEvent:
      return form != nullptr;
    default:
      return true;
  }
}

bool EventManager::askClose(const QString& formName, int32_t formNumber, int32_t formKind) const {
  const auto form = find(formName, formNumber, formKind);
  return form && !form->closeEvent;
}

void EventManager::deleteAllEventForms() {
  for (int position = eventForms.count(); position >= 1; --position) eventForms.remove(position);
}

namespace {

std::unique_ptr<EventManager>& managerHolder() {
  static std::unique_ptr<EventManager> manager;
  return manager;
}

}  // namespace

EventManager& eventManager() {
  auto& manager = managerHolder();
  if (!manager) manager = std::make_unique<EventManager>();
  return *manager;
}

void releaseEventManager() {
  if (managerHolder()) managerHolder()->deleteAllEventForms();
  managerHolder().reset();
}

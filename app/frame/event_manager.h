// The guard that keeps the event handlers of the display windows from
// running into each other: one record per registered window, and answers
// whether a load, user, timer or close event of a window may start now.
// A window is known by its name (case matters), number and kind.
#pragma once

#include "types/Collection.h"
#include "types/EventForm.h"

#include <QString>

#include <cstdint>

enum EventCode : int32_t { kLoadEvent = 0, kUserEvent = 1, kTimerEvent = 2, kCloseEvent = 3 };

class EventManager {
 public:
  // Marks an event of the window as running; a load event registers a
  // window that is not yet known (other events of unknown windows do nothing).
  void setEvent(const QString& formName, int32_t formNumber, int32_t formKind, int32_t code);
  // Marks it finished; the close event removes the window.
  void clearEvent(const QString& formName, int32_t formNumber, int32_t formKind, int32_t code);
  bool askEvent(const QString& formName, int32_t formNumber, int32_t formKind, int32_t code) const;
  // The window is registered and not yet closing.
  bool askClose(const QString& formName, int32_t formNumber, int32_t formKind) const;
  void deleteAllEventForms();

  Collection<EventForm> eventForms;  // keyed by the idNumber text

 private:
  std::shared_ptr<EventForm> find(const QString& formName, int32_t formNumber, int32_t formKind) const;
  bool anyWindow(bool (*test)(const EventForm&)) const;
};

// The one program-wide guard, created on first use.
EventManager& eventManager();
// Empties and releases it (the end of the program).
void releaseEventManager();

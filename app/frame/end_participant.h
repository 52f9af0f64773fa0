// The windows that take part in ending the program: a window that runs
// recordings or keeps windows of its own open registers here, and the end of
// the program asks the registered windows instead of reaching into them.
#pragma once

#include <vector>

class ProgramEndParticipant {
 public:
  ProgramEndParticipant(const ProgramEndParticipant&) = delete;
  ProgramEndParticipant& operator=(const ProgramEndParticipant&) = delete;

  // A recording runs that the engineer is asked about before the end.
  virtual bool recordingRuns() const { return false; }
  // The end has begun: stop what runs, tell the window's own windows to
  // close, close. Asked once per end; must be harmless when asked again.
  virtual void prepareForEnd() = 0;
  // Nothing of the window is left open: the program may end.
  virtual bool closed() const = 0;

 protected:
  // Registered for the life of the object, in the order made.
  ProgramEndParticipant();
  virtual ~ProgramEndParticipant();
};

const std::vector<ProgramEndParticipant*>& programEndParticipants();
bool anyRecordingRuns();
bool everyParticipantClosed();
// Asks every participant to prepare for the end, in the order registered.
void prepareParticipantsForEnd();

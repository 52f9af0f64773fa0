#include "frame/end_participant.h"

#include <algorithm>

namespace {

std::vector<ProgramEndParticipant*>& participants() {
  static std::vector<ProgramEndParticipant*> registered;
  return registered;
}

}  // namespace

ProgramEndParticipant::ProgramEndParticipant() { participants().push_back(this); }

ProgramEndParticipant::~ProgramEndParticipant() { std::erase(participants(), this); }

const std::vector<ProgramEndParticipant*>& programEndParticipants() { return participants(); }

bool anyRecordingRuns() {
  return std::ranges::any_of(participants(), [](const ProgramEndParticipant* p) { return p->recordingRuns(); });
}

bool everyParticipantClosed() {
  return std::ranges::all_of(participants(), [](const ProgramEndParticipant* p) { return p->closed(); });
}

void prepareParticipantsForEnd() {
  // A participant may make or drop others while it prepares: walk a copy.
  const std::vector<ProgramEndParticipant*> snapshot = participants();
  for (ProgramEndParticipant* participant : snapshot) {
    if (std::ranges::find(participants(), participant) != participants().end()) participant->prepareForEnd();
  }
}

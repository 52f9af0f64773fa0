// The trigger check: do the wanted ON/OFF states of the two-state items
// that the engineer chose hold in the last finished snapshot? Conditions
// come in two groups; the trigger fires when every condition of at least
// one non-empty group holds.
#pragma once

#include "base/kinds.h"

namespace tramsoll {

// How the checked units are reached. On the bus a unit's trigger items are
// those of its item file's unit group 0; over a board connection (one
// system or one unit alike) those of the group after its address, and the
// board's data lie under kind 0, address 0.
namespace triggeraccess {
constexpr int kBus = gathermode::kBus;
constexpr int kBoard = gathermode::kOneSystem;
}  // namespace triggeraccess

// True when the armed trigger condition holds on the current snapshot;
// `accessKind` is triggeraccess::kBus or kBoard.
bool checkTriggerCondition(int accessKind);

}  // namespace tramsoll

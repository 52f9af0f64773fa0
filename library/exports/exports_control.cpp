// Control exports: the central-operation window's view of every bus address
// and its run/stop, mode and set-point commands, and the control-parameter
// requests and changes with the answers they got. All bus work is the bus
// engine's; these only check the caller's values and convert them.
#include <cstring>

#include "base/status_words.h"
#include "engine/frame.h"
#include "q7/q7_engine.h"
#include "tramsoll.h"

using namespace tramsoll;

namespace {

constexpr int32_t kErrorCodeBufferSize = TRAMSOLL_ERROR_CODE_SIZE;
constexpr int32_t kSettingRequest = 230;  // 0xE6
constexpr int32_t kSettingChange = 232;   // 0xE8
constexpr int32_t kLargestSettingNumber = 255;
constexpr int32_t kLargestSettingValue = 65535;
constexpr float kSetPointLimit = 128.0f;

bool gathering() { return (gatherState.load() & gather::kRunning) != 0; }

bool anyBusAddress(int32_t address) { return address >= 0 && address < kQ7Addresses; }

// Units have addresses 1..255; 0 is nobody.
bool unitAddress(int32_t address) { return address >= 1 && address < kQ7Addresses; }

template <class T>
void put(T* out, T value) {
  if (out) *out = value;
}

// A central command as the engine takes it. A value outside its range (the
// caller passes 256 for "unchanged") leaves that part out of the command.
struct CentralCommand {
  uint32_t bits = 0;
  uint8_t mode = 0;
  float setPoint = 0.0f;
};

CentralCommand centralCommandOf(int32_t runStop, int32_t mode, float setPoint) {
  CentralCommand command;
  if (runStop == 0 || runStop == 1) command.bits |= q7cmd::kRunStopGiven | (runStop ? q7cmd::kRun : 0u);
  if (mode >= 0 && mode <= 15) {
    command.bits |= q7cmd::kModeGiven;
    command.mode = static_cast<uint8_t>(mode);
  }
  // Written so that a NaN is out of range too.
  if (setPoint >= -kSetPointLimit && setPoint <= kSetPointLimit) {
    command.bits |= q7cmd::kSetPointGiven;
    command.setPoint = setPoint;
  }
  return command;
}

}  // namespace

extern "C" TRAMSOLL_API int32_t getQ7ScAdrInfo(int32_t* unitPresence, int32_t* controlStates,
                                               int32_t* centralControlFlag, int32_t* forcedStopFlag) {
  ExportFrame frame;
  put(centralControlFlag, 0);
  put(forcedStopFlag, 0);
  if (!gathering()) return 1;
  Q7ControlInfo info;
  busEngine().controlInfo(info);
  for (int a = 0; a < kQ7Addresses; ++a) {
    if (unitPresence) unitPresence[a] = info.word[a] & 0x03;
    if (controlStates) controlStates[a] = (info.word[a] >> 2) & 0x03;
  }
  put(centralControlFlag, static_cast<int32_t>(info.header & 0x01));
  put(forcedStopFlag, static_cast<int32_t>((info.header >> 1) & 0x01));
  return 0;
}

extern "C" TRAMSOLL_API int32_t getQ7ScAdrStatus(int32_t busAddress, int32_t* mode, float* setPoint,
                                                 char* errorCode, int32_t* pendingFlag, int32_t* runFlag) {
  ExportFrame frame;
  put(mode, 0);
  put(setPoint, 0.0f);
  put(pendingFlag, 0);
  put(runFlag, 0);
  if (!gathering()) return 1;
  if (!anyBusAddress(busAddress)) {
    if (errorCode) std::memset(errorCode, 0, kErrorCodeBufferSize);
    return 1;
  }
  Q7AddressStatus status;
  // No status of the unit yet: nothing is handed out that would read as a
  // stopped unit set to 0.
  if (busEngine().addressStatus(busAddress, status) != 0) {
    if (errorCode) std::memset(errorCode, 0, kErrorCodeBufferSize);
    return 2;
  }
  put(mode, status.mode);
  put(setPoint, status.setPoint);
  if (errorCode) {
    std::memset(errorCode, 0, kErrorCodeBufferSize);
    std::memcpy(errorCode, status.errorText, 2);
  }
  put(pendingFlag, status.pendingFlag);
  put(runFlag, status.runFlag);
  return 0;
}

// Queued also while not gathering: nothing sends it before gathering runs
// with central operation permitted. A refusal by the engine (the unit never
// answered, forced stop, run/stop locked) or a full queue is not reported;
// the caller reads the effect back from the status.
extern "C" TRAMSOLL_API int32_t setQ7ScAdrCommand(int32_t busAddress, int32_t runStop, int32_t mode,
                                                  float setPoint) {
  ExportFrame frame;
  // Cut to a byte, a wrong address would command another unit.
  if (!anyBusAddress(busAddress)) return 0;
  const CentralCommand command = centralCommandOf(runStop, mode, setPoint);
  busEngine().centralCommand(static_cast<uint8_t>(busAddress), command.bits, command.mode, command.setPoint);
  return 0;
}

extern "C" TRAMSOLL_API int32_t getAirconReceiveState(int32_t busAddress, int32_t* receiveState) {
  ExportFrame frame;
  put(receiveState, 0);
  if (!unitAddress(busAddress)) return 1;
  put(receiveState, busEngine().settingSendState(busAddress));
  return 0;
}

// The fifth argument is always 0 and is not used.
extern "C" TRAMSOLL_API int32_t setAirconSendData(int32_t command, int32_t busAddress, int32_t settingNumber,
                                                  int32_t settingValue, int32_t) {
  ExportFrame frame;
  if (!unitAddress(busAddress)) return 1;
  if (command != kSettingRequest && command != kSettingChange) return 2;
  // The frame holds one byte of number and two of value: cut down, a change
  // would go to another setting or write another value.
  if (settingNumber < 0 || settingNumber > kLargestSettingNumber) return 3;
  if (settingValue < 0 || settingValue > kLargestSettingValue) return 3;
  busEngine().unitSettingSend(command, busAddress, settingNumber, settingValue);
  return 0;
}

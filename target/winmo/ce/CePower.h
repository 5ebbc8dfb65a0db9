#pragma once

#include <cstddef>
#include <cstdint>

#include "CeTypes.h"

// The phone's point-to-point message queues and its power notifications: a
// reader makes a queue, asks for power notifications on it, and reads one
// POWER_BROADCAST record per change of the power (on, or suspended).
// Changes come from the backend (tests inject them through the headless
// backend); a queue gets only the changes made after its request.
namespace ce {

struct MSGQUEUEOPTIONS {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwMaxMessages;  // 0: no limit
  DWORD cbMaxMessage;   // bytes, at least 1
  BOOL bReadAccess;
};

struct POWER_BROADCAST {
  DWORD Message;  // PBT_TRANSITION
  DWORD Flags;    // POWER_STATE_ON or POWER_STATE_SUSPEND
  DWORD Length;   // bytes of SystemPowerState
  char16_t SystemPowerState[1];
};

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD PBT_TRANSITION = 1;
constexpr DWORD POWER_STATE_ON = 0x00010000, POWER_STATE_SUSPEND = 0x00200000;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122, ERROR_TIMEOUT = 1460;

// A queue for reading (bReadAccess set; only unnamed queues are known).
// Null, with ERROR_INVALID_PARAMETER, for anything else.
HANDLE CreateMsgQueue(const char16_t* name, const MSGQUEUEOPTIONS* options);
// Takes the oldest message into `buffer` (`size` bytes), waiting up to
// `timeout` milliseconds (INFINITE: no limit) for one. FALSE with
// ERROR_TIMEOUT when none came, ERROR_INVALID_HANDLE for an unknown queue
// or one closed meanwhile (a close ends every wait on it at once), and
// ERROR_INSUFFICIENT_BUFFER for a message larger than the buffer (the
// message is dropped, so a reader never sticks on it). *read receives the
// message's size, *flags 0.
BOOL ReadMsgQueue(HANDLE queue, void* buffer, DWORD size, DWORD* read, DWORD timeout, DWORD* flags);
BOOL CloseMsgQueue(HANDLE queue);
// Power notifications of the kinds in `flags` (PBT_TRANSITION) into the
// queue; the notification's handle, or null.
HANDLE RequestPowerNotifications(HANDLE queue, DWORD flags);
BOOL StopPowerNotifications(HANDLE notifications);

}  // namespace ce

// The source of power changes, and test seams.
class CePower {
 public:
  CePower() = delete;

  // The power went on or off: a PBT_TRANSITION record to every queue that
  // asked for power notifications. A full queue drops its oldest message
  // (the latest state is what matters).
  static void notify(bool on);
  // How many queues are open.
  static size_t openQueues();
  // Closes every queue (tests).
  static void reset();
};

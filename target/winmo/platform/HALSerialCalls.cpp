// The queue behind HAL_callSerially and HAL_runSerialCalls (HALEvents.h).

#include <deque>
#include <mutex>
#include <new>
#include <utility>

#include "HALEvents.h"
#include "HALLockScope.h"

namespace {

struct SerialCall {
  void (*routine)(void* argument);
  void* argument;
};

// Filled by any thread, emptied by the main thread; guarded by its own
// mutex because callers need not hold the global lock to queue.
std::mutex queueMutex;
std::deque<SerialCall> queue;

}  // namespace

HALStatus HAL_callSerially(void (*routine)(void* argument), void* argument) {
  if (routine == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  {
    std::lock_guard<std::mutex> guard(queueMutex);
    try {
      queue.push_back({routine, argument});
    } catch (const std::bad_alloc&) {
      return HAL_ILLEGAL_ARGUMENT_ERR;
    }
  }
  // One message per call: a message whose batch was already run finds an
  // empty queue and does nothing.
  HAL_postToMainWindowIfAny(HAL_SERIAL_CALLS_MESSAGE);
  return HAL_OK;
}

void HAL_runSerialCalls() {
  std::deque<SerialCall> batch;
  {
    std::lock_guard<std::mutex> guard(queueMutex);
    batch.swap(queue);
  }
  if (batch.empty() || HAL_isExitStarted()) return;
  HALLockScope lock;
  for (const SerialCall& call : batch) {
    if (HAL_isExitStarted()) return;
    // Routines contain their own failures; anything that still escapes
    // ends only its own call, and the main loop goes on.
    try {
      call.routine(call.argument);
    } catch (...) {
    }
  }
}

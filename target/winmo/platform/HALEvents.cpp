#include "HALEvents.h"

#include <atomic>
#include <new>

#include "HALCallbacks.h"
#include "HALGlobalLock.h"
#include "HALLockScope.h"
#include "VMServices.h"

namespace {

// Written by VM start-up and shutdown, read by raisers before they take the
// global lock.
std::atomic<HALEventRegistry*> registry{nullptr};
std::atomic<bool> exitStarted{false};
std::atomic<HALMainWindowPoster> mainWindowPoster{nullptr};


// Calls every listener of `list` whose mask has `bit` set, from the front.
// A listener added meanwhile at the end is called too.
void deliver(const HALList& list, uint32_t bit, int type, int count, const intptr_t* payload) {
  for (HALListNode* node = list.getFirst(); node; node = list.getNext(node)) {
    const auto* listener = static_cast<const HALEventListener*>(list.getValue(node));
    if (listener->mask & bit) listener->callback(type, count, payload);
  }
}

}  // namespace

void HAL_createEventRegistry() {
  if (registry.load()) return;
  registry.store(new (_VM_operatorNew(sizeof(HALEventRegistry))) HALEventRegistry());
}

void HAL_deleteEventRegistry() {
  HALEventRegistry* old = registry.exchange(nullptr);
  if (!old) return;
  for (int i = HALEventRegistry::kListCount - 1; i >= 0; --i) {
    HALList& list = old->lists[i];
    for (HALListNode* node = list.getFirst(); node; node = list.getNext(node)) _VM_free(list.getValue(node));
    list.clear();
  }
  old->~HALEventRegistry();
  _VM_free(old);
}

HALEventRegistry* HAL_getEventRegistry() { return registry.load(); }

HALEventListener* HAL_addEventListener(HALEventCallback callback, uint32_t mask, int list) {
  HALEventRegistry* current = registry.load();
  if (!current || !callback) return nullptr;
  HALList& target = current->lists[list == 0 ? 0 : list == 2 ? 2 : 1];
  auto* listener = new (_VM_operatorNew(sizeof(HALEventListener))) HALEventListener{callback, mask};
  try {
    target.addLast(listener);
  } catch (...) {
    _VM_free(listener);
    throw;
  }
  return listener;
}

int HAL_broadcastEvent(int type, int count, const intptr_t* payload) {
  HALEventRegistry* current = registry.load();
  // A mask has bits for the types 0..31; type 0 is no event.
  if (!current || type < 1 || type > 31) return 0;
  const uint32_t bit = uint32_t{1} << type;
  try {
    for (const HALList& list : current->lists) deliver(list, bit, type, count, payload);
  } catch (...) {
    // A Java exception gets its stack trace printed; anything else, the exit
    // carrier included, ends the delivery too and goes no further into the
    // platform layer.
    _VM_reportEscapedException();
    return HAL_EVENT_LISTENER_THREW;
  }
  return 0;
}

void HAL_sendEvent(int type, int count, const intptr_t* payload, bool takeLock) {
  if (exitStarted.load() || !registry.load()) return;
  if (!takeLock) {
    HAL_getVMCallbacks()->broadcastEvent(type, count, payload);
    return;
  }
  HALLockScope lock;
  HAL_getVMCallbacks()->broadcastEvent(type, count, payload);
}

void HAL_setExitStarted(bool started) { exitStarted.store(started); }

bool HAL_isExitStarted() { return exitStarted.load(); }

void HAL_setMainWindowPoster(HALMainWindowPoster poster) { mainWindowPoster.store(poster); }

HALStatus HAL_requestExit() {
  HAL_postToMainWindowIfAny(HAL_EXIT_MESSAGE);
  return HAL_OK;
}

bool HAL_postToMainWindowIfAny(uint32_t message) {
  HALMainWindowPoster post = mainWindowPoster.load();
  return post != nullptr && post(message, 0, 0);
}

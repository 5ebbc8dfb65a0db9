#include "CePower.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "CeProcess.h"

using namespace ce;

namespace {

struct Queue {
  DWORD maxMessages;
  DWORD maxMessageSize;
  std::deque<std::vector<uint8_t>> messages;
  bool open = true;
  bool powerNotifications = false;
};

struct State {
  std::mutex mutex;
  std::condition_variable changed;
  // Records are kept after closing, so a handle stays safe to look at.
  std::vector<std::unique_ptr<Queue>> queues;
};

State& state() {
  static State* s = new State();
  return *s;
}

// The open queue of a handle (the lock held), or null.
Queue* find(HANDLE handle) {
  for (const auto& q : state().queues) {
    if (q.get() == handle) return q->open ? q.get() : nullptr;
  }
  return nullptr;
}

// The record a notification handle stands for: the queue's address plus one,
// so the two handles differ.
HANDLE notificationOf(Queue* queue) { return reinterpret_cast<uint8_t*>(queue) + 1; }
Queue* queueOfNotification(HANDLE handle) { return find(static_cast<uint8_t*>(handle) - 1); }

std::vector<uint8_t> powerRecord(bool on) {
  const std::u16string name = on ? u"on" : u"suspend";
  const auto length = static_cast<DWORD>((name.size() + 1) * sizeof(char16_t));
  std::vector<uint8_t> record(offsetof(POWER_BROADCAST, SystemPowerState) + length);
  const DWORD header[3] = {PBT_TRANSITION, on ? POWER_STATE_ON : POWER_STATE_SUSPEND, length};
  std::memcpy(record.data(), header, sizeof header);
  std::memcpy(record.data() + sizeof header, name.c_str(), length);
  return record;
}

}  // namespace

namespace ce {

HANDLE CreateMsgQueue(const char16_t* name, const MSGQUEUEOPTIONS* options) {
  if (name || !options || !options->bReadAccess || options->cbMaxMessage == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(state().mutex);
  state().queues.push_back(std::make_unique<Queue>(Queue{options->dwMaxMessages, options->cbMaxMessage, {}}));
  return state().queues.back().get();
}

BOOL ReadMsgQueue(HANDLE handle, void* buffer, DWORD size, DWORD* read, DWORD timeout, DWORD* flags) {
  if (read) *read = 0;
  if (flags) *flags = 0;
  std::unique_lock<std::mutex> lock(state().mutex);
  Queue* queue = find(handle);
  const auto ready = [&] { return !find(handle) || !queue->messages.empty(); };
  if (queue && timeout == INFINITE) {
    state().changed.wait(lock, ready);
  } else if (queue) {
    state().changed.wait_for(lock, std::chrono::milliseconds(timeout), ready);
  }
  if (!queue || !find(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (queue->messages.empty()) {
    SetLastError(ERROR_TIMEOUT);
    return FALSE;
  }
  std::vector<uint8_t> message = std::move(queue->messages.front());
  queue->messages.pop_front();
  if (read) *read = static_cast<DWORD>(message.size());
  if (!buffer || size < message.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(buffer, message.data(), message.size());
  return TRUE;
}

BOOL CloseMsgQueue(HANDLE handle) {
  std::lock_guard<std::mutex> lock(state().mutex);
  Queue* queue = find(handle);
  if (!queue) return FALSE;
  queue->open = false;
  queue->messages.clear();
  state().changed.notify_all();
  return TRUE;
}

HANDLE RequestPowerNotifications(HANDLE handle, DWORD kinds) {
  std::lock_guard<std::mutex> lock(state().mutex);
  Queue* queue = find(handle);
  if (!queue || !(kinds & PBT_TRANSITION)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  queue->powerNotifications = true;
  return notificationOf(queue);
}

BOOL StopPowerNotifications(HANDLE notifications) {
  std::lock_guard<std::mutex> lock(state().mutex);
  Queue* queue = notifications ? queueOfNotification(notifications) : nullptr;
  if (!queue || !queue->powerNotifications) return FALSE;
  queue->powerNotifications = false;
  return TRUE;
}

}  // namespace ce

void CePower::notify(bool on) {
  const std::vector<uint8_t> record = powerRecord(on);
  std::lock_guard<std::mutex> lock(state().mutex);
  for (const auto& q : state().queues) {
    if (!q->open || !q->powerNotifications || record.size() > q->maxMessageSize) continue;
    if (q->maxMessages && q->messages.size() >= q->maxMessages) q->messages.pop_front();
    q->messages.push_back(record);
  }
  state().changed.notify_all();
}

size_t CePower::openQueues() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return static_cast<size_t>(
      std::count_if(state().queues.begin(), state().queues.end(), [](const auto& q) { return q->open; }));
}

void CePower::reset() {
  std::lock_guard<std::mutex> lock(state().mutex);
  for (const auto& q : state().queues) {
    q->open = false;
    q->messages.clear();
  }
  state().changed.notify_all();
}

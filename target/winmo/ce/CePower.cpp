#include "CePower.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

struct State {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<bool> changes;
  bool cancelled = false;
};

State& state() {
  static State* s = new State();
  return *s;
}

// The queue holds at most this many changes; older ones give way (the
// latest state is what matters).
constexpr size_t kQueueLimit = 20;

}  // namespace

bool CePower::waitForChange(uint32_t milliseconds, bool* on) {
  State& s = state();
  std::unique_lock<std::mutex> lock(s.mutex);
  const auto ready = [&] { return !s.changes.empty() || s.cancelled; };
  if (!s.changed.wait_for(lock, std::chrono::milliseconds(milliseconds), ready) || s.changes.empty()) return false;
  if (on) *on = s.changes.front();
  s.changes.pop_front();
  return true;
}

void CePower::notify(bool on) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.changes.size() >= kQueueLimit) s.changes.pop_front();
  s.changes.push_back(on);
  s.changed.notify_all();
}

void CePower::cancelWaits(bool cancel) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.cancelled = cancel;
  s.changed.notify_all();
}

void CePower::reset() {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.changes.clear();
}

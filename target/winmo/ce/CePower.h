#pragma once

#include <cstdint>

// The phone's power notifications: a queue of power changes (on or off)
// that one native thread of the platform layer reads. Power changes come
// from the backend (tests inject them through the headless backend).
class CePower {
 public:
  CePower() = delete;

  // Waits up to `milliseconds` for a change of the power state; true and the
  // new state in *on when one came, false on time-out or cancellation.
  static bool waitForChange(uint32_t milliseconds, bool* on);
  // A change of the power state (any thread).
  static void notify(bool on);
  // Ends every wait at once, and every later one, until called with false;
  // changes that wait in the queue are kept.
  static void cancelWaits(bool cancel);
  // Forgets the changes that wait (tests).
  static void reset();
};

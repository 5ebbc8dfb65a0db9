#pragma once

#include <cstddef>
#include <cstdint>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <deque>
#include <vector>

#include "CeBackend.h"
#include "CeTypes.h"

// The backend without a screen: the default for tests and CI. It records
// the frames presented (the latest ones, 16 by default, and a count of all)
// for exact pixel checks, and it takes input that tests inject from any
// thread: each injection becomes the window message (or power change) that
// the phone would make.
class CeHeadlessBackend : public CeBackend {
 public:
  // The process's headless backend (the one CeBackend::current starts with).
  static CeHeadlessBackend& instance();

  const char* name() const override { return "headless"; }
  void present(const CeFrame& frame) override;
  void raise() override;

  // Frames presented so far, and the latest ones kept.
  uint64_t frameCount() const;
  std::optional<CeFrame> lastFrame() const;
  std::vector<CeFrame> frames() const;
  // How many of the latest frames are kept (at least 1).
  void setFramesKept(size_t count);
  void clearFrames();
  // Waits up to `milliseconds` until at least `count` frames were presented.
  bool waitForFrames(uint64_t count, uint32_t milliseconds) const;
  // How often another instance asked this one to come to the front.
  uint64_t raiseCount() const;

  // Input. A key: WM_KEYDOWN or WM_KEYUP with the phone's lParam (repeat
  // count 1, the scan code in bits 16..23, bit 30 set when the key was
  // already down (a repeat, and every key up), bit 31 set on key up).
  static void key(ce::UINT virtualKey, bool down, bool repeat = false, uint8_t scanCode = 0);
  // The stylus at (x, y) of the main window's client area.
  static void stylusDown(int32_t x, int32_t y);
  static void stylusDrag(int32_t x, int32_t y);
  static void stylusUp(int32_t x, int32_t y);
  // The window gained or lost the focus, or was minimised.
  static void activate(bool active);
  static void minimise();
  // The window's close button.
  static void close();
  // The device's power.
  static void power(bool on);

 private:
  CeHeadlessBackend() = default;

  mutable std::mutex mutex_;
  mutable std::condition_variable presented_;
  std::deque<CeFrame> frames_;
  size_t kept_ = 16;
  uint64_t count_ = 0;
  uint64_t raises_ = 0;
};

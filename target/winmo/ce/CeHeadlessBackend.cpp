#include "CeHeadlessBackend.h"

#include <algorithm>
#include <chrono>

#include "CePower.h"
#include "CeWindowManager.h"

using namespace ce;

namespace {

LPARAM point(int32_t x, int32_t y) {
  return static_cast<LPARAM>((uint32_t{static_cast<uint16_t>(y)} << 16) | static_cast<uint16_t>(x));
}

}  // namespace

CeHeadlessBackend& CeHeadlessBackend::instance() {
  static CeHeadlessBackend* backend = new CeHeadlessBackend();
  return *backend;
}

void CeHeadlessBackend::present(const CeFrame& frame) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (frames_.size() >= kept_) {
    // Reuses the oldest frame's storage.
    CeFrame recycled = std::move(frames_.front());
    frames_.pop_front();
    recycled.width = frame.width;
    recycled.height = frame.height;
    recycled.pixels.assign(frame.pixels.begin(), frame.pixels.end());
    frames_.push_back(std::move(recycled));
  } else {
    frames_.push_back(frame);
  }
  ++count_;
  presented_.notify_all();
}

void CeHeadlessBackend::raise() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++raises_;
}

uint64_t CeHeadlessBackend::frameCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return count_;
}

std::optional<CeFrame> CeHeadlessBackend::lastFrame() const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (frames_.empty()) return std::nullopt;
  return frames_.back();
}

std::vector<CeFrame> CeHeadlessBackend::frames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::vector<CeFrame>(frames_.begin(), frames_.end());
}

void CeHeadlessBackend::setFramesKept(size_t count) {
  std::lock_guard<std::mutex> lock(mutex_);
  kept_ = std::max<size_t>(count, 1);
  while (frames_.size() > kept_) frames_.pop_front();
}

void CeHeadlessBackend::clearFrames() {
  std::lock_guard<std::mutex> lock(mutex_);
  frames_.clear();
  count_ = 0;
}

bool CeHeadlessBackend::waitForFrames(uint64_t count, uint32_t milliseconds) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return presented_.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return count_ >= count; });
}

uint64_t CeHeadlessBackend::raiseCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return raises_;
}

void CeHeadlessBackend::key(UINT virtualKey, bool down, bool repeat, uint8_t scanCode) {
  LPARAM lParam = 1 | (static_cast<LPARAM>(scanCode) << 16);
  if (!down || repeat) lParam |= LPARAM{1} << 30;
  if (!down) lParam |= static_cast<LPARAM>(uint32_t{1} << 31);
  CeWindowManager::postInput(down ? WM_KEYDOWN : WM_KEYUP, virtualKey, lParam);
}

void CeHeadlessBackend::stylusDown(int32_t x, int32_t y) {
  CeWindowManager::postInput(WM_LBUTTONDOWN, MK_LBUTTON, point(x, y));
}

void CeHeadlessBackend::stylusDrag(int32_t x, int32_t y) {
  CeWindowManager::postInput(WM_MOUSEMOVE, MK_LBUTTON, point(x, y));
}

void CeHeadlessBackend::stylusUp(int32_t x, int32_t y) { CeWindowManager::postInput(WM_LBUTTONUP, 0, point(x, y)); }

void CeHeadlessBackend::activate(bool active) { CeWindowManager::backendActivated(active, false); }

void CeHeadlessBackend::minimise() { CeWindowManager::backendActivated(false, true); }

void CeHeadlessBackend::close() {
  if (HWND main = CeWindowManager::mainWindow()) PostMessageW(main, WM_CLOSE, 0, 0);
}

void CeHeadlessBackend::power(bool on) { CePower::notify(on); }

#include "CeFramePresenter.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "CeBackend.h"
#include "CeDisplay.h"
#include "CeWindowManager.h"

using namespace ce;

namespace {

struct State {
  std::mutex mutex;
  // The picture of the whole screen, composed from the windows' frames.
  CeFrame screen;
};

State& state() {
  static State* s = new State();
  return *s;
}

}  // namespace

bool CeFramePresenter::present(HWND window, const uint16_t* pixels, int32_t width, int32_t height, int32_t stride,
                               int32_t x, int32_t y) {
  if (!pixels || width < 1 || height < 1 || stride < width) return false;
  RECT rect{};
  if (!CeWindowManager::screenRect(window, &rect)) return false;
  const int32_t screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int32_t screenHeight = GetSystemMetrics(SM_CYSCREEN);
  // The part of the frame inside both the window and the screen, in screen
  // coordinates (64-bit sums: the arguments may be anything).
  const int64_t left = std::max<int64_t>({int64_t{rect.left} + x, rect.left, 0});
  const int64_t top = std::max<int64_t>({int64_t{rect.top} + y, rect.top, 0});
  const int64_t right = std::min<int64_t>({int64_t{rect.left} + x + width, rect.right, screenWidth});
  const int64_t bottom = std::min<int64_t>({int64_t{rect.top} + y + height, rect.bottom, screenHeight});

  std::lock_guard<std::mutex> lock(state().mutex);
  CeFrame& screen = state().screen;
  if (screen.width != screenWidth || screen.height != screenHeight) {
    screen.width = screenWidth;
    screen.height = screenHeight;
    screen.pixels.assign(static_cast<size_t>(screenWidth) * screenHeight, 0);
  }
  for (int64_t row = top; right > left && row < bottom; ++row) {
    const int64_t sourceRow = row - (int64_t{rect.top} + y);
    const int64_t sourceColumn = left - (int64_t{rect.left} + x);
    std::memcpy(screen.pixels.data() + row * screenWidth + left, pixels + sourceRow * stride + sourceColumn,
                static_cast<size_t>(right - left) * sizeof(uint16_t));
  }
  CeBackend::current().present(screen);
  return true;
}

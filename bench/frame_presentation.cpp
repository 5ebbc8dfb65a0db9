// Presenting a 240 x 320 RGB565 frame through each backend of the stand-in,
// side by side with a plain copy of the frame's 153,600 bytes. Each
// presenting benchmark reports `x_copy`: its time per frame divided by the
// plain copy's.
//
//   PlainCopy:          memcpy of the frame into another buffer.
//   HeadlessPresent:    CeFramePresenter::present into the headless backend
//                       (the frame composed into the screen and recorded).
//   HeadlessGdiBlit:    the screen presentation's drawing calls: GetDC,
//                       CreateBitmap, CreateCompatibleDC, SelectObject,
//                       BitBlt, DeleteDC, DeleteObject, ReleaseDC.
//   SdlDummyPresent:    CeFramePresenter::present into the SDL2 backend
//                       under SDL's dummy video driver (texture upload,
//                       scaled copy, present, in software).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "CeFramePresenter.h"
#include "CeHeadlessBackend.h"
#include "CeSdlBackend.h"
#include "CeWindows.h"

using namespace ce;

namespace {

constexpr int32_t kWidth = 240, kHeight = 320;

const std::vector<uint16_t>& frame() {
  static const std::vector<uint16_t> pixels = [] {
    std::vector<uint16_t> p(static_cast<size_t>(kWidth) * kHeight);
    for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
    return p;
  }();
  return pixels;
}

// Nanoseconds of one plain copy of the frame (the best of many rounds).
double copyNanos() {
  static const double nanos = [] {
    std::vector<uint16_t> target(frame().size());
    double best = 1e18;
    for (int round = 0; round < 50; ++round) {
      const auto start = std::chrono::steady_clock::now();
      for (int i = 0; i < 100; ++i) {
        std::memcpy(target.data(), frame().data(), frame().size() * sizeof(uint16_t));
        benchmark::ClobberMemory();
      }
      best = std::min(best, std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
                                100);
    }
    return best;
  }();
  return nanos;
}

HWND mainWindow() {
  static HWND window = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = u"bench";
    RegisterClassW(&windowClass);
    HWND w = CreateWindowW(u"bench", u"bench", WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    return w;
  }();
  return window;
}

// Runs `present` once per iteration and reports its time against the copy.
template <typename F>
void timed(benchmark::State& state, F present) {
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    if (!present()) {
      state.SkipWithError("present failed");
      return;
    }
  }
  const double nanos =
      std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / state.iterations();
  state.counters["x_copy"] = nanos / copyNanos();
}

void PlainCopy(benchmark::State& state) {
  std::vector<uint16_t> target(frame().size());
  timed(state, [&] {
    std::memcpy(target.data(), frame().data(), frame().size() * sizeof(uint16_t));
    benchmark::ClobberMemory();
    return true;
  });
}
BENCHMARK(PlainCopy)->Unit(benchmark::kMicrosecond);

void HeadlessPresent(benchmark::State& state) {
  CeBackend::use(&CeHeadlessBackend::instance());
  HWND window = mainWindow();
  timed(state, [&] { return CeFramePresenter::present(window, frame().data(), kWidth, kHeight, kWidth); });
}
BENCHMARK(HeadlessPresent)->Unit(benchmark::kMicrosecond);

void HeadlessGdiBlit(benchmark::State& state) {
  CeBackend::use(&CeHeadlessBackend::instance());
  HWND window = mainWindow();
  timed(state, [&] {
    HDC windowDC = GetDC(window);
    HBITMAP bitmap = CreateBitmap(kWidth, kHeight, 1, 16, frame().data());
    HDC memoryDC = CreateCompatibleDC(windowDC);
    SelectObject(memoryDC, bitmap);
    const BOOL done = BitBlt(windowDC, 0, 0, kWidth, kHeight, memoryDC, 0, 0, SRCCOPY);
    DeleteDC(memoryDC);
    DeleteObject(bitmap);
    ReleaseDC(window, windowDC);
    return done != FALSE;
  });
}
BENCHMARK(HeadlessGdiBlit)->Unit(benchmark::kMicrosecond);

void SdlDummyPresent(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  std::string error;
  CeSdlBackend* sdl = CeSdlBackend::start(&error);
  if (!sdl) {
    state.SkipWithError(("no SDL2: " + error).c_str());
    return;
  }
  HWND window = mainWindow();
  sdl->openScreen(u"bench", kWidth, kHeight);
  CeBackend::use(sdl);
  timed(state, [&] { return CeFramePresenter::present(window, frame().data(), kWidth, kHeight, kWidth); });
  state.counters["scale"] = sdl->scale();
  CeBackend::use(&CeHeadlessBackend::instance());
}
BENCHMARK(SdlDummyPresent)->Unit(benchmark::kMicrosecond);

}  // namespace

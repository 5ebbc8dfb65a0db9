// Presented frames (through the drawing calls and directly), and the input
// that tests inject through the headless backend.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "CeFramePresenter.h"
#include "CeHeadlessBackend.h"
#include "CePower.h"
#include "StandInTestSupport.h"

using namespace ce;

namespace {

// A picture whose every pixel tells where it is.
std::vector<uint16_t> pattern(int32_t width, int32_t height, uint16_t seed = 0) {
  std::vector<uint16_t> pixels(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) pixels[y * width + x] = static_cast<uint16_t>(seed + y * 251 + x * 7);
  }
  return pixels;
}

class Frames : public testing::Test {
 protected:
  void SetUp() override {
    resetStandIn();
    main = RecordingWindows::create(u"Main");
    MoveWindow(main, 0, 0, 240, 320, FALSE);  // full screen
    drain();
  }

  // The screen presentation's blit: a bitmap of the pixels into the window.
  static BOOL blit(HWND window, const std::vector<uint16_t>& pixels, int32_t width, int32_t height, int32_t x = 0,
                   int32_t y = 0) {
    HDC windowDC = GetDC(window);
    HBITMAP bitmap = CreateBitmap(width, height, 1, 16, pixels.data());
    HDC memoryDC = CreateCompatibleDC(windowDC);
    SelectObject(memoryDC, bitmap);
    const BOOL done = BitBlt(windowDC, x, y, width, height, memoryDC, x, y, SRCCOPY);
    DeleteDC(memoryDC);
    DeleteObject(bitmap);
    ReleaseDC(window, windowDC);
    return done;
  }

  HWND main = nullptr;
};

TEST_F(Frames, TheBlitOfTheWholeBufferIsThePresentedFrame) {
  const auto pixels = pattern(240, 320);
  ASSERT_TRUE(blit(main, pixels, 240, 320));
  const auto frame = CeHeadlessBackend::instance().lastFrame();
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->width, 240);
  EXPECT_EQ(frame->height, 320);
  EXPECT_EQ(frame->pixels, pixels);
  EXPECT_EQ(CeHeadlessBackend::instance().frameCount(), 1u);
  // Every drawing object was given back.
  EXPECT_EQ(CeGdi::liveDeviceContexts(), 0u);
  EXPECT_EQ(CeGdi::liveBitmaps(), 0u);
}

TEST_F(Frames, AWindowBelowTheTaskBarLandsThereClipped) {
  MoveWindow(main, 0, 26, 240, 294, FALSE);
  // A frame larger than the window: its rows past the window are cut.
  const auto pixels = pattern(240, 320, 9);
  ASSERT_TRUE(CeFramePresenter::present(main, pixels.data(), 240, 320, 240));
  const auto frame = CeHeadlessBackend::instance().lastFrame();
  ASSERT_TRUE(frame);
  for (int32_t y = 0; y < 320; ++y) {
    for (int32_t x = 0; x < 240; x += 17) {
      const uint16_t expected = y < 26 ? 0 : pixels[(y - 26) * 240 + x];
      ASSERT_EQ(frame->pixels[y * 240 + x], expected) << x << "," << y;
    }
  }
}

TEST_F(Frames, StridesOffsetsAndBadArguments) {
  // A 4 x 2 frame inside rows of 6 pixels, at (10, 20) of the window.
  const std::vector<uint16_t> rows = {1, 2, 3, 4, 99, 99, 5, 6, 7, 8, 99, 99};
  ASSERT_TRUE(CeFramePresenter::present(main, rows.data(), 4, 2, 6, 10, 20));
  auto frame = CeHeadlessBackend::instance().lastFrame();
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->pixels[20 * 240 + 10], 1);
  EXPECT_EQ(frame->pixels[20 * 240 + 13], 4);
  EXPECT_EQ(frame->pixels[20 * 240 + 14], 0);
  EXPECT_EQ(frame->pixels[21 * 240 + 10], 5);
  // Partly outside the window on every side: only the inside lands.
  ASSERT_TRUE(CeFramePresenter::present(main, rows.data(), 4, 2, 6, -2, -1));
  frame = CeHeadlessBackend::instance().lastFrame();
  EXPECT_EQ(frame->pixels[0], 7);
  EXPECT_EQ(frame->pixels[1], 8);
  ASSERT_TRUE(CeFramePresenter::present(main, rows.data(), 4, 2, 6, 238, 319));
  frame = CeHeadlessBackend::instance().lastFrame();
  EXPECT_EQ(frame->pixels[319 * 240 + 238], 1);
  EXPECT_EQ(frame->pixels[319 * 240 + 239], 2);
  // Far outside (no overflow): a frame, but nothing of it lands.
  EXPECT_TRUE(CeFramePresenter::present(main, rows.data(), 4, 2, 6, INT32_MAX - 1, INT32_MIN + 1));

  const uint64_t before = CeHeadlessBackend::instance().frameCount();
  EXPECT_FALSE(CeFramePresenter::present(main, nullptr, 4, 2, 6));
  EXPECT_FALSE(CeFramePresenter::present(main, rows.data(), 0, 2, 6));
  EXPECT_FALSE(CeFramePresenter::present(main, rows.data(), 4, -1, 6));
  EXPECT_FALSE(CeFramePresenter::present(main, rows.data(), 4, 2, 3));
  EXPECT_FALSE(CeFramePresenter::present(nullptr, rows.data(), 4, 2, 6));
  int bogus = 0;
  EXPECT_FALSE(CeFramePresenter::present(reinterpret_cast<HWND>(&bogus), rows.data(), 4, 2, 6));
  DestroyWindow(main);
  EXPECT_FALSE(CeFramePresenter::present(main, rows.data(), 4, 2, 6));
  EXPECT_EQ(CeHeadlessBackend::instance().frameCount(), before);
}

TEST_F(Frames, DrawingCallsRefuseWhatTheyDoNotKnow) {
  EXPECT_EQ(CreateBitmap(0, 10, 1, 16, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(10, 5000, 1, 16, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(10, 10, 1, 32, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(10, 10, 2, 16, nullptr), nullptr);
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 16, nullptr);
  HDC memory = CreateCompatibleDC(nullptr);
  HDC window = GetDC(main);
  int bogus = 0;
  EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(&bogus), bitmap), nullptr);
  EXPECT_EQ(SelectObject(memory, &bogus), nullptr);
  EXPECT_EQ(SelectObject(window, bitmap), nullptr);  // not into a window's DC
  EXPECT_EQ(SelectObject(memory, bitmap), nullptr);  // the first: no previous one
  EXPECT_FALSE(DeleteObject(bitmap));                // still selected
  EXPECT_FALSE(BitBlt(window, 0, 0, 4, 4, memory, 0, 0, 0x00EE0086));
  EXPECT_FALSE(BitBlt(memory, 0, 0, 4, 4, window, 0, 0, SRCCOPY));
  EXPECT_FALSE(ReleaseDC(main, memory));
  EXPECT_FALSE(DeleteDC(window));
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_FALSE(DeleteDC(memory));
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_TRUE(ReleaseDC(main, window));
  EXPECT_EQ(CeGdi::liveDeviceContexts(), 0u);
  EXPECT_EQ(CeGdi::liveBitmaps(), 0u);
  EXPECT_EQ(GetDC(reinterpret_cast<HWND>(&bogus)), nullptr);
}

TEST_F(Frames, BitmapsCopyBetweenMemoryContexts) {
  const auto pixels = pattern(8, 8);
  HBITMAP from = CreateBitmap(8, 8, 1, 16, pixels.data());
  HBITMAP to = CreateBitmap(8, 8, 1, 16, nullptr);
  HDC a = CreateCompatibleDC(nullptr);
  HDC b = CreateCompatibleDC(nullptr);
  SelectObject(a, from);
  SelectObject(b, to);
  ASSERT_TRUE(BitBlt(b, 2, 2, 10, 10, a, 0, 0, SRCCOPY));  // clipped to 6 x 6
  HDC window = GetDC(main);
  ASSERT_TRUE(BitBlt(window, 0, 0, 8, 8, b, 0, 0, SRCCOPY));
  const auto frame = CeHeadlessBackend::instance().lastFrame();
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->pixels[0], 0);
  EXPECT_EQ(frame->pixels[2 * 240 + 2], pixels[0]);
  EXPECT_EQ(frame->pixels[7 * 240 + 7], pixels[5 * 8 + 5]);
  ReleaseDC(main, window);
  DeleteDC(a);
  DeleteDC(b);
  DeleteObject(from);
  DeleteObject(to);
}

TEST_F(Frames, TheLatestFramesAreKeptAndOtherThreadsPresentToo) {
  CeHeadlessBackend& backend = CeHeadlessBackend::instance();
  backend.setFramesKept(3);
  std::thread painter([this] {
    for (uint16_t i = 0; i < 5; ++i) {
      const std::vector<uint16_t> pixel(1, i);
      CeFramePresenter::present(main, pixel.data(), 1, 1, 1);
    }
  });
  ASSERT_TRUE(backend.waitForFrames(5, 5000));
  painter.join();
  EXPECT_EQ(backend.frameCount(), 5u);
  const auto kept = backend.frames();
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept[0].pixels[0], 2);
  EXPECT_EQ(kept[2].pixels[0], 4);
  EXPECT_FALSE(backend.waitForFrames(6, 10));
}

TEST_F(Frames, ATurnedDisplayGivesTurnedFrames) {
  ASSERT_EQ(changeOrientation(DMDO_90), DISP_CHANGE_SUCCESSFUL);
  drain();
  const auto pixels = pattern(320, 240);
  ASSERT_TRUE(blit(main, pixels, 320, 240));
  const auto frame = CeHeadlessBackend::instance().lastFrame();
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->width, 320);
  EXPECT_EQ(frame->height, 240);
  EXPECT_EQ(frame->pixels, pixels);
}

class Input : public testing::Test {
 protected:
  void SetUp() override {
    resetStandIn();
    main = RecordingWindows::create(u"Main");
    other = RecordingWindows::create(u"Other");
    drain();
    RecordingWindows::clear();
  }
  HWND main = nullptr;
  HWND other = nullptr;
};

TEST_F(Input, KeysCarryThePhonesFlags) {
  const struct {
    bool down, repeat;
    uint8_t scan;
    UINT message;
    uint32_t lParam;
  } cases[] = {
      {true, false, 0x48, WM_KEYDOWN, 0x00480001u},
      {true, true, 0x48, WM_KEYDOWN, 0x40480001u},
      {false, false, 0x48, WM_KEYUP, 0xC0480001u},
  };
  for (const auto& c : cases) {
    CeHeadlessBackend::key(VK_UP, c.down, c.repeat, c.scan);
    drain();
    const auto taken = RecordingWindows::take();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].window, main);
    EXPECT_EQ(taken[0].message, c.message);
    EXPECT_EQ(taken[0].wParam, VK_UP);
    EXPECT_EQ(static_cast<uint32_t>(taken[0].lParam), c.lParam);
  }
}

TEST_F(Input, TheStylusPressesDragsAndLifts) {
  CeHeadlessBackend::stylusDown(10, 20);
  CeHeadlessBackend::stylusDrag(11, 21);
  CeHeadlessBackend::stylusDrag(12, 300);  // coalesced with the move before
  CeHeadlessBackend::stylusUp(-3, 22);
  drain();
  const auto taken = RecordingWindows::take();
  ASSERT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[0].message, WM_LBUTTONDOWN);
  EXPECT_EQ(taken[0].lParam, (20 << 16) | 10);
  EXPECT_EQ(taken[1].message, WM_MOUSEMOVE);
  EXPECT_EQ(taken[1].wParam, MK_LBUTTON);
  EXPECT_EQ(taken[1].lParam, (300 << 16) | 12);
  EXPECT_EQ(taken[2].message, WM_LBUTTONUP);
  EXPECT_EQ(static_cast<int16_t>(taken[2].lParam & 0xFFFF), -3);  // signed halves
  EXPECT_EQ(static_cast<int16_t>(taken[2].lParam >> 16), 22);
}

TEST_F(Input, InputGoesToTheActiveWindow) {
  SetForegroundWindow(other);
  drain();
  RecordingWindows::clear();
  CeHeadlessBackend::key('5', true);
  drain();
  const auto taken = RecordingWindows::take();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].window, other);
}

TEST_F(Input, CloseAndPower) {
  CeHeadlessBackend::close();
  drain();
  EXPECT_EQ(RecordingWindows::messages(), (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(IsWindow(main));

  bool on = true;
  EXPECT_FALSE(CePower::waitForChange(1, &on));
  CeHeadlessBackend::power(false);
  CeHeadlessBackend::power(true);
  ASSERT_TRUE(CePower::waitForChange(1000, &on));
  EXPECT_FALSE(on);
  ASSERT_TRUE(CePower::waitForChange(1000, &on));
  EXPECT_TRUE(on);
  // Cancelled waits end at once until the cancel is lifted.
  CePower::cancelWaits(true);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(CePower::waitForChange(10000, &on));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  CePower::cancelWaits(false);
}

}  // namespace

// The SDL2 backend: smoke tests under SDL's dummy video driver, and under a
// virtual X display (Xvfb) a screenshot of the real window compared pixel
// for pixel with the frame that was presented.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "CeFramePresenter.h"
#include "CeSdlBackend.h"
#include "StandInTestSupport.h"
#include "VirtualDisplay.h"

#ifdef JME_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

using namespace ce;

namespace {

std::vector<uint16_t> pattern(int32_t width, int32_t height) {
  std::vector<uint16_t> pixels(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      // Red across, green down, blue in stripes: every channel varies.
      pixels[y * width + x] = static_cast<uint16_t>(((x * 31 / width) << 11) | ((y * 63 / height) << 5) | (x / 8 % 32));
    }
  }
  return pixels;
}

CeSdlBackend& startSdl() {
  std::string error;
  EXPECT_TRUE(CeBackend::choose(false)) << error;
  EXPECT_STREQ(CeBackend::current().name(), "sdl2");
  return static_cast<CeSdlBackend&>(CeBackend::current());
}

class SdlDummy : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    unsetenv("JME_BACKEND");
    resetStandIn();
    sdl = &startSdl();
    main = RecordingWindows::create(u"Dummy", u"The \x00e9 game");
    drain();
    RecordingWindows::clear();
  }
  void TearDown() override { CeBackend::use(nullptr); }

  // Pushes an SDL event and reads what it became.
  std::vector<Recorded> through(SDL_Event event) {
    SDL_PushEvent(&event);
    drain();
    return RecordingWindows::take();
  }

  CeSdlBackend* sdl = nullptr;
  HWND main = nullptr;
};

TEST_F(SdlDummy, TheWindowIsNamedAndScaledAndShowsTheFrame) {
  ASSERT_NE(sdl->window(), nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(sdl->window()), "The \xc3\xa9 game");
  int w = 0, h = 0;
  SDL_GetWindowSize(sdl->window(), &w, &h);
  EXPECT_EQ(w, 240 * sdl->scale());
  EXPECT_EQ(h, 320 * sdl->scale());
  MoveWindow(main, 0, 0, 240, 320, FALSE);
  const auto pixels = pattern(240, 320);
  ASSERT_TRUE(CeFramePresenter::present(main, pixels.data(), 240, 320, 240));
  // What the renderer drew, read back in the frame's own format.
  SDL_Renderer* renderer = SDL_GetRenderer(sdl->window());
  ASSERT_NE(renderer, nullptr);
  std::vector<uint16_t> shown(static_cast<size_t>(w) * h);
  if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB565, shown.data(), w * 2) != 0) {
    GTEST_SKIP() << "the renderer cannot be read back: " << SDL_GetError();
  }
  const int s = sdl->scale();
  for (int y = 0; y < h; y += 3) {
    for (int x = 0; x < w; x += 5) ASSERT_EQ(shown[y * w + x], pixels[(y / s) * 240 + x / s]) << x << "," << y;
  }
}

TEST_F(SdlDummy, KeysBecomeThePhonesVirtualKeys) {
  const struct {
    SDL_Keycode key;
    UINT virtualKey;
    uint16_t mod = KMOD_NONE;
  } cases[] = {{SDLK_8, VK_ASTERISK, KMOD_LSHIFT}, {SDLK_3, VK_POUND, KMOD_RSHIFT}, {SDLK_3, '3'},
               {SDLK_UP, VK_UP},       {SDLK_DOWN, VK_DOWN},       {SDLK_LEFT, VK_LEFT},
               {SDLK_RIGHT, VK_RIGHT}, {SDLK_RETURN, VK_RETURN},   {SDLK_F1, VK_F1},
               {SDLK_F2, VK_F2},       {SDLK_7, '7'},              {SDLK_KP_7, VK_NUMPAD0 + 7},
               {SDLK_ASTERISK, VK_ASTERISK}, {SDLK_KP_MULTIPLY, VK_ASTERISK}, {SDLK_HASH, VK_POUND},
               {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_BACKSPACE, VK_BACK}, {SDLK_q, 'Q'}};
  for (const auto& c : cases) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = c.key;
    event.key.keysym.mod = c.mod;
    event.key.keysym.scancode = SDL_SCANCODE_A;
    event.key.repeat = 1;
    const auto taken = through(event);
    ASSERT_EQ(taken.size(), 1u) << c.key;
    EXPECT_EQ(taken[0].message, WM_KEYDOWN);
    EXPECT_EQ(taken[0].wParam, c.virtualKey) << c.key;
    EXPECT_EQ(static_cast<uint32_t>(taken[0].lParam), 0x40000001u | (SDL_SCANCODE_A << 16));
  }
  SDL_Event up{};
  up.type = SDL_KEYUP;
  up.key.keysym.sym = SDLK_F13;  // not a key of the phone
  EXPECT_TRUE(through(up).empty());
  up.key.keysym.sym = SDLK_UP;
  const auto taken = through(up);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].message, WM_KEYUP);
}

TEST_F(SdlDummy, TheMouseIsTheStylusScaledBack) {
  const int s = sdl->scale();
  SDL_Event down{};
  down.type = SDL_MOUSEBUTTONDOWN;
  down.button.button = SDL_BUTTON_LEFT;
  down.button.x = 100 * s;
  down.button.y = 126 * s;
  auto taken = through(down);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].message, WM_LBUTTONDOWN);
  EXPECT_EQ(taken[0].lParam, (100 << 16) | 100);  // the window lies below the 26-pixel task bar
  SDL_Event move{};
  move.type = SDL_MOUSEMOTION;
  move.motion.x = 5 * s;
  move.motion.y = 36 * s;
  EXPECT_TRUE(through(move).empty());  // no button: not the stylus
  move.motion.state = SDL_BUTTON_LMASK;
  taken = through(move);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].lParam, (10 << 16) | 5);
  SDL_Event right{};
  right.type = SDL_MOUSEBUTTONDOWN;
  right.button.button = SDL_BUTTON_RIGHT;
  EXPECT_TRUE(through(right).empty());
}

TEST_F(SdlDummy, FocusMinimiseAndCloseReachTheLoop) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  auto taken = through(event);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].message, WM_ACTIVATE);
  EXPECT_EQ(taken[0].wParam, WA_INACTIVE);
  event.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  taken = through(event);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].wParam, WA_ACTIVE);
  event.window.event = SDL_WINDOWEVENT_MINIMIZED;
  taken = through(event);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].wParam, WPARAM{1} << 16);
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  taken = through(event);
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[0].message, WM_CLOSE);
  EXPECT_EQ(taken[1].message, WM_DESTROY);
}

TEST_F(SdlDummy, APostFromAnotherThreadWakesTheLoopAndItsFramesAreShown) {
  MoveWindow(main, 0, 0, 240, 320, FALSE);
  const auto pixels = pattern(240, 320);
  std::thread other([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    CeFramePresenter::present(main, pixels.data(), 240, 320, 240);
    PostMessageW(main, WM_USER, 0, 0);
  });
  const auto start = std::chrono::steady_clock::now();
  MSG msg{};
  ASSERT_TRUE(GetMessageW(&msg, nullptr, WM_USER, WM_USER));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  other.join();
  drain();  // the loop's next pass shows the frame
  SDL_Renderer* renderer = SDL_GetRenderer(sdl->window());
  uint16_t corner = 0;
  const SDL_Rect last{240 * sdl->scale() - 1, 320 * sdl->scale() - 1, 1, 1};
  if (SDL_RenderReadPixels(renderer, &last, SDL_PIXELFORMAT_RGB565, &corner, 2) == 0) {
    EXPECT_EQ(corner, pixels.back());
  }
}

TEST_F(SdlDummy, ATimerEndsTheWaitInSDL) {
  SetTimer(main, 4, 30, nullptr);
  const auto start = std::chrono::steady_clock::now();
  MSG msg{};
  ASSERT_TRUE(GetMessageW(&msg, nullptr, WM_TIMER, WM_TIMER));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(25));
  EXPECT_LT(waited, std::chrono::seconds(5));
  EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(SdlDummy, ATurnedDisplayTurnsTheWindow) {
  ASSERT_EQ(changeOrientation(DMDO_90), DISP_CHANGE_SUCCESSFUL);
  drain();
  int w = 0, h = 0;
  SDL_GetWindowSize(sdl->window(), &w, &h);
  EXPECT_EQ(w, 320 * sdl->scale());
  EXPECT_EQ(h, 240 * sdl->scale());
}

TEST(SdlBackend, WithoutADisplayTheChoiceFailsClearly) {
  unsetenv("SDL_VIDEODRIVER");
  unsetenv("JME_BACKEND");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(CeBackend::choose(false));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("--headless"), std::string::npos);
  EXPECT_TRUE(CeBackend::choose(true));
  EXPECT_STREQ(CeBackend::current().name(), "headless");
}

#ifdef JME_HAVE_X11

TEST(SdlXvfb, AScreenshotOfTheWindowIsThePresentedFrame) {
  VirtualDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "no Xvfb";
  setenv("DISPLAY", display.name().c_str(), 1);
  unsetenv("SDL_VIDEODRIVER");
  unsetenv("JME_BACKEND");
  resetStandIn();
  CeSdlBackend& sdl = startSdl();
  HWND main = RecordingWindows::create(u"Screenshot");
  MoveWindow(main, 0, 0, 240, 320, FALSE);
  drain();
  ASSERT_NE(sdl.window(), nullptr);
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  ASSERT_TRUE(SDL_GetWindowWMInfo(sdl.window(), &info));
  ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);

  const auto pixels = pattern(240, 320);
  const int s = sdl.scale();
  Display* x = XOpenDisplay(display.name().c_str());
  ASSERT_NE(x, nullptr);
  // The X server shows the window once it is mapped and drawn: present and
  // look until the picture is there (or give up after a few seconds).
  int mismatches = -1;
  for (int attempt = 0; attempt < 50 && mismatches != 0; ++attempt) {
    ASSERT_TRUE(CeFramePresenter::present(main, pixels.data(), 240, 320, 240));
    drain();
    XSync(x, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    XImage* image = XGetImage(x, info.info.x11.window, 0, 0, 240 * s, 320 * s, AllPlanes, ZPixmap);
    if (!image) continue;
    mismatches = 0;
    for (int py = 0; py < 320 * s; ++py) {
      for (int px = 0; px < 240 * s; ++px) {
        const unsigned long rgb = XGetPixel(image, px, py);
        const auto r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
        const auto shown = static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
        if (shown != pixels[(py / s) * 240 + px / s]) ++mismatches;
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(x);
  EXPECT_EQ(mismatches, 0);
  CeBackend::use(nullptr);
}

#endif

}  // namespace

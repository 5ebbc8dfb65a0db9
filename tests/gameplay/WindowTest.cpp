// The program as scripts/run runs it (jme with its own properties, the SDL2
// backend) on a virtual X display: screenshots of its window (XGetImage)
// show the logo, then the language page. What each looks like comes from
// the driver program run headless on the same content: every frame it
// paints while the logo shows, and while the language page shows.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "GameDriver.h"
#include "VirtualDisplay.h"

#ifdef JME_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

using gameplay::Content;
using gameplay::GameDriver;

namespace {

#ifdef JME_HAVE_X11

using Frame = std::vector<uint16_t>;

// The program's own properties, under a MIDlet name of this run's (one
// instance runs per name).
std::string programProperties() {
  std::ifstream in(std::string(JME_BINARY_DIR) + "/properties/app.prop");
  std::ostringstream out;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("MIDlet-Name:", 0) == 0) line = "MIDlet-Name: window-" + std::to_string(getpid());
    out << line << '\n';
  }
  return out.str();
}

// The program's windows come and go while it starts: a window that is gone
// between listing and reading gives BadWindow, which Xlib's default handler
// answers by ending this process (and leaving the program and Xvfb behind).
// Here such a request just fails: the listing is read again next time.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

// The program's top-level window on the display and its scale: a mapped
// child of the root of 240 s x 320 s pixels.
bool findWindow(Display* x, Window* found, int* scale) {
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count)) return false;
  bool ok = false;
  for (unsigned int i = 0; i < count && !ok; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(x, children[i], &a) || a.map_state != IsViewable) continue;
    if (a.width >= 240 && a.width % 240 == 0 && a.height * 240 == a.width * 320) {
      *found = children[i];
      *scale = a.width / 240;
      ok = true;
    }
  }
  if (children) XFree(children);
  return ok;
}

// The window's picture at 240 x 320 in RGB 565 (empty when it cannot be read).
Frame screenshot(Display* x, Window w, int s) {
  XImage* image = XGetImage(x, w, 0, 0, 240 * s, 320 * s, AllPlanes, ZPixmap);
  if (!image) return {};
  Frame out(240 * 320);
  for (int py = 0; py < 320; ++py) {
    for (int px = 0; px < 240; ++px) {
      const unsigned long rgb = XGetPixel(image, px * s, py * s);
      const auto r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
      out[py * 240 + px] = static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    }
  }
  XDestroyImage(image);
  return out;
}

class ProgramWindow : public testing::TestWithParam<Content> {};

TEST_P(ProgramWindow, TheProgramShowsTheLogoThenTheLanguagePage) {
  const std::string reason = gameplay::cannotPlay(GetParam());
  if (!reason.empty()) GTEST_SKIP() << reason;
  VirtualDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "no Xvfb";

  // The frames to expect, from the driver.
  std::set<Frame> logo, language;
  {
    GameDriver driver;
    driver.use(GetParam());
    ASSERT_TRUE(driver.start());
    int languageFrames = 0;
    for (int i = 0; i < 400 && languageFrames < 30; ++i) {
      const gameplay::Probe p = driver.probe();
      const Frame f = driver.frame();
      ASSERT_FALSE(f.empty());
      if (p.scene() == 0) logo.insert(f);
      if (p.page() == 11 && !p.loading()) {
        language.insert(f);
        ++languageFrames;
      }
      ASSERT_TRUE(driver.step(1));
    }
    ASSERT_TRUE(driver.close());
    ASSERT_EQ(driver.wait(), 0);
  }
  ASSERT_FALSE(logo.empty());
  ASSERT_FALSE(language.empty());

  GameDriver game;  // its folder, content and database; the program is jme
  game.use(GetParam());
  AppProcess app(std::string(JME_BINARY_DIR) + "/jme", programProperties());
  std::filesystem::remove_all(app.folder() / "rsc");
  std::filesystem::create_directory_symlink(game.folder() / "rsc", app.folder() / "rsc");
  setenv("DISPLAY", display.name().c_str(), 1);
  // The window is watched in real time for a bounded while: the program in
  // it runs without the collector's stress mode, which the driver's run of
  // the same content above keeps when it is set.
  const char* stress = getenv("JME_GC_STRESS");
  const std::string savedStress = stress ? stress : "";
  unsetenv("JME_GC_STRESS");
  app.startInWindow();
  if (stress) setenv("JME_GC_STRESS", savedStress.c_str(), 1);
  Display* x = XOpenDisplay(display.name().c_str());
  ASSERT_NE(x, nullptr);
  XSetErrorHandler(ignoreXError);
  Window window = 0;
  int scale = 1;
  bool seenLogo = false, seenLanguage = false;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!seenLanguage && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    if (!window && !findWindow(x, &window, &scale)) continue;
    const Frame shown = screenshot(x, window, scale);
    if (!seenLogo) {
      seenLogo = logo.count(shown) != 0;
    } else {
      seenLanguage = language.count(shown) != 0;
    }
  }
  XCloseDisplay(x);
  EXPECT_TRUE(seenLogo);
  EXPECT_TRUE(seenLanguage);
  kill(app.pid(), SIGTERM);
  EXPECT_EQ(app.wait(), 0);
}

INSTANTIATE_TEST_SUITE_P(Content, ProgramWindow, testing::Values(Content::kFixturePacks, Content::kBuiltRsc),
                         [](const testing::TestParamInfo<Content>& info) { return gameplay::contentName(info.param); });

#endif

}  // namespace

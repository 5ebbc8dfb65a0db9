// Canvas and GameCanvas: dispatch under the event dispatch lock, the key
// filter of a game canvas, game actions and key names, the screen buffer's
// Graphics and flushes, and a Graphics that outlives its canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HALCallbacks.h"
#include "HALEvents.h"
#include "HALScreen.h"
#include "HALShell.h"
#include "HALShellHooks.h"
#include "DisplayFixture.h"
#include "JavaTestSupport.h"
#include "RasterContext.h"
#include "RasterSurface.h"
#include "VMCollector.h"
#include "VMTestEnv.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalMonitorStateException.h"
#include "javax_microedition_lcdui_Display.h"
#include "javax_microedition_lcdui_game_GameCanvas.h"

namespace canvastest {

using namespace javax::microedition::lcdui;

std::vector<std::string> log;

// Logs every handler call, and whether it ran under the event dispatch lock.
class Logging : public game::GameCanvas {
  VM_CLASS(Logging, game::GameCanvas)

 public:
  VMPtr<Logging> _VM_init(bool suppress) {
    GameCanvas::_VM_init(suppress);
    return VMPtr<Logging>(this);
  }
  void keyPressed(int32_t k) override { note("press " + std::to_string(k)); }
  void keyRepeated(int32_t k) override { note("repeat " + std::to_string(k)); }
  void keyReleased(int32_t k) override { note("release " + std::to_string(k)); }
  void pointerPressed(int32_t x, int32_t y) override { note("down " + std::to_string(x) + "," + std::to_string(y)); }
  void pointerReleased(int32_t x, int32_t y) override { note("up " + std::to_string(x) + "," + std::to_string(y)); }
  void pointerDragged(int32_t x, int32_t y) override { note("drag " + std::to_string(x) + "," + std::to_string(y)); }
  void showNotify() override { note("show"); }
  void paint(VMPtr<Graphics> g) override {
    note("paint");
    g->setColor(0xFF0000);
    g->fillRect(0, 0, 2, 2);
    kept = g;
  }
  void _VM_markReferences(int colour) override {
    _VM_mark(kept, colour);
    GameCanvas::_VM_markReferences(colour);
  }
  VMField<Graphics> kept;
  void hideNotify() override { note("hide"); }
  void sizeChanged(int32_t w, int32_t h) override { note("size " + std::to_string(w) + "x" + std::to_string(h)); }

 private:
  static void note(std::string what) {
    try {
      Display::eventLock()->notify();  // only the monitor's owner may
    } catch (java::lang::IllegalMonitorStateException*) {
      what += " (unlocked)";
    }
    log.push_back(what);
  }
};

}  // namespace canvastest

VM_REGISTER_CLASS(canvastest::Logging, "canvastest.Logging", "javax.microedition.lcdui.game.GameCanvas", 0);

namespace {

using namespace javax::microedition::lcdui;
using canvastest::log;
using canvastest::Logging;
using java_test::text;
using java_test::thrownMessage;
using Log = std::vector<std::string>;

class CanvasTest : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    log.clear();
  }
  static VMPtr<Logging> canvas(bool suppress) {
    VMPtr<Logging> c = Logging::_VM_new();
    c->_VM_init(suppress);
    return c;
  }
};

TEST_F(CanvasTest, EveryHandlerRunsUnderTheEventDispatchLock) {
  VMPtr<Logging> c = canvas(false);
  display->setCurrent(c);
  raise(HAL_EVENT_KEY_PRESSED, {-1});
  raise(HAL_EVENT_KEY_REPEATED, {-1});
  raise(HAL_EVENT_KEY_RELEASED, {-1});
  raise(HAL_EVENT_POINTER_PRESSED, {5, 6});
  raise(HAL_EVENT_POINTER_DRAGGED, {7, 8});
  raise(HAL_EVENT_POINTER_RELEASED, {9, 10});
  raise(HAL_EVENT_SIZE_CHANGE, {c->eventIdentifier(), 320, 240});
  raise(HAL_EVENT_PAUSE, {});
  EXPECT_EQ(log, (Log{"show", "press -1", "repeat -1", "release -1", "down 5,6", "drag 7,8", "up 9,10",
                      "size 320x240", "hide"}));
}

TEST_F(CanvasTest, APaintEventDrawsThroughAGraphicsReleasedAfterThePaint) {
  VMPtr<Logging> c = canvas(false);
  RasterSurface* surface = RasterSurface::createOpaque(4, 4);
  ASSERT_NE(surface, nullptr);
  std::fill(surface->pixels, surface->pixels + surface->stride * surface->height, uint16_t{0});
  RasterContext* context = RasterContext::create(surface);  // handed over with the event
  raise(HAL_EVENT_PAINT, {reinterpret_cast<intptr_t>(context), c->eventIdentifier(), 4, 4});
  EXPECT_EQ(log, (Log{"paint"}));
  EXPECT_EQ(surface->pixels[0], 0xF800);
  EXPECT_EQ(surface->pixels[surface->stride + 1], 0xF800);
  EXPECT_EQ(surface->pixels[2], 0x0000);
  // The Graphics the handler kept no longer reaches the surface.
  VMPtr<Graphics> kept = c->kept;
  kept->setColor(0x00FF00);
  kept->fillRect(0, 0, 4, 4);
  EXPECT_EQ(surface->pixels[3], 0x0000);
  raise(HAL_EVENT_PAINT, {0, c->eventIdentifier(), 4, 4});  // no context: nothing to paint into
  EXPECT_EQ(log.size(), 1u);
  delete surface;
}

TEST_F(CanvasTest, AGameCanvasThatSuppressesKeysPassesOnlyKeysWithoutAGameAction) {
  VMPtr<Logging> c = canvas(true);
  display->setCurrent(c);
  log.clear();
  for (int32_t key : {-1, -2, -3, -4, -5, 49, 35, -6}) raise(HAL_EVENT_KEY_PRESSED, {key});
  raise(HAL_EVENT_KEY_RELEASED, {-5});
  raise(HAL_EVENT_KEY_RELEASED, {50});
  raise(HAL_EVENT_POINTER_PRESSED, {1, 1});  // never filtered
  EXPECT_EQ(log, (Log{"press 49", "press 35", "press -6", "release 50", "down 1,1"}));
}

TEST_F(CanvasTest, GameActionsKeyCodesAndKeyNames) {
  VMPtr<Logging> c = canvas(false);
  const struct {
    int32_t action;
    int32_t code;
  } rows[] = {{Canvas::UP, -1}, {Canvas::LEFT, -3}, {Canvas::RIGHT, -4}, {Canvas::DOWN, -2}, {Canvas::FIRE, -5}};
  for (const auto& row : rows) {
    EXPECT_EQ(c->getKeyCode(row.action), row.code) << row.action;
    EXPECT_EQ(c->getGameAction(row.code), row.action) << row.code;
  }
  for (int32_t bad : {0, 3, 9, 100}) {
    thrownMessage<java::lang::IllegalArgumentException>([&] { c->getKeyCode(bad); });
  }
  EXPECT_EQ(c->getGameAction(65), 0);
  EXPECT_EQ(c->getGameAction(49), 0);
  const struct {
    int32_t code;
    const char16_t* name;
  } names[] = {{-1, u"Up"}, {-5, u"Action"}, {-6, u"Softkey 1"}, {35, u"#"}, {42, u"*"}, {-99, u""}};
  for (const auto& row : names) EXPECT_EQ(text(c->getKeyName(row.code)), row.name) << row.code;
}

TEST_F(CanvasTest, CapabilitiesAndFullScreenMode) {
  VMPtr<Logging> c = canvas(false);
  EXPECT_FALSE(c->hasPointerEvents());
  EXPECT_FALSE(c->hasPointerMotionEvents());
  EXPECT_TRUE(c->hasRepeatEvents());
  EXPECT_TRUE(c->isDoubleBuffered());
  EXPECT_FALSE(c->nativeHandle->isFullScreen());
  c->setFullScreenMode(1);
  EXPECT_TRUE(c->fullScreenMode);
  EXPECT_TRUE(c->nativeHandle->isFullScreen());
  c->setFullScreenMode(0);
  EXPECT_FALSE(c->nativeHandle->isFullScreen());
}

TEST_F(CanvasTest, TheScreenBufferGraphicsIsOneObjectResetOnEveryCall) {
  VMPtr<Logging> c = canvas(false);
  VMPtr<Graphics> g = c->getGraphics();
  g->translate(5, 7);
  g->setColor(0x123456);
  g->setClip(1, 1, 2, 2);
  VMPtr<Graphics> again = c->getGraphics();
  EXPECT_EQ(again.get(), g.get());
  EXPECT_EQ(g->getTranslateX(), 0);
  EXPECT_EQ(g->getTranslateY(), 0);
  EXPECT_EQ(g->getColor(), 0);
  int32_t width = 0;
  int32_t height = 0;
  ASSERT_EQ(HAL_getScreenBufferSize(c->screenBuffer, &width, &height), HAL_OK);
  EXPECT_EQ(g->getClipWidth(), width);
  EXPECT_EQ(g->getClipHeight(), height);
}

TEST_F(CanvasTest, FlushesFromAThreadOtherThanTheMainThreadPresentOnceAtItsNextPass) {
  VMPtr<Logging> c = canvas(false);
  ASSERT_FALSE(HAL_isMainThread());  // no shell: this test's thread is not the main thread
  const int64_t before = HAL_countScreenPresents();
  c->flushGraphics();
  c->flushGraphics(0, 0, 10, 10);
  EXPECT_EQ(HAL_countScreenPresents(), before);
  HAL_presentPendingScreen();
  HAL_presentPendingScreen();
  EXPECT_EQ(HAL_countScreenPresents() - before, 1);
  EXPECT_EQ(c->getKeyStates(), 0);
}

TEST_F(CanvasTest, AGraphicsThatOutlivesItsCanvasDrawsNothing) {
  VMPtr<Graphics> g;
  {
    VMPtr<Logging> c = canvas(false);
    g = c->getGraphics();
  }
  _VM_collect();  // the canvas and its screen buffer go; the Graphics stays
  g->setColor(0xFFFFFF);
  g->fillRect(0, 0, 240, 320);
  g->drawLine(0, 0, 100, 100);
  g->drawString(java_test::jstr(u"gone"), 0, 0, Graphics::TOP | Graphics::LEFT);
  SUCCEED();  // under AddressSanitizer a write to the freed buffer fails here
}

}  // namespace

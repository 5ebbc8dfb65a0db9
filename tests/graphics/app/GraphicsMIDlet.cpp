// The MIDlet of the drawing test program (jme_graphics_app: the real
// program's entry with this file added). At its first start, on the main
// thread, it makes a canvas with a screen buffer, draws shapes, an image
// and text into it through Graphics and flushes it: the main window shows
// it at once. Then a Java thread paints a second picture and flushes it:
// the main thread's message loop shows that one. With the headless
// backend each recorded frame is compared with the buffer and the program
// prints "main-frame ok" and "thread-frame ok" (or what differed); with
// the SDL2 backend the pictures are shown in the window and it prints
// "main-frame shown" and "thread-frame shown". Commands on standard input
// (close ...) become the phone's messages.
#include <cstdio>
#include <string>
#include <thread>

#include "CeBackend.h"
#include "CeHeadlessBackend.h"
#include "CeWindowManager.h"
#include "HALDisplayable.h"
#include "HALGlobalLock.h"
#include "HALScreen.h"
#include "HALWindow.h"
#include "HALWindowObject.h"
#include "RasterSurface.h"
#include "TestAppDriver.h"
#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_Runnable.h"
#include "java_lang_Thread.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "javax_microedition_midlet_MIDlet.h"

namespace graphicstest {

using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;

HALScreen* screen = nullptr;

void report(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Checks the latest frame of the screen against the buffer: the buffer
// covers the main window's client area from its top-left corner, pixel for
// pixel, and the corner has the colour the picture put there.
void checkFrame(const char* name, uint64_t frames, uint16_t corner) {
  if (std::string(CeBackend::current().name()) != "headless") return report(std::string(name) + " shown");
  // Wait without the global lock, so that the main thread can present.
  const int levels = HAL_suspendGlobalLock();
  const bool came = CeHeadlessBackend::instance().waitForFrames(frames, 5000);
  HAL_resumeGlobalLock(levels);
  const auto frame = CeHeadlessBackend::instance().lastFrame();
  const RasterSurface& s = *screen->surface;
  ce::RECT client{};
  CeWindowManager::screenRect(HAL_getMainWindow(), &client);
  const auto at = [&](int32_t x, int32_t y) {
    return frame->pixels[size_t(client.top + y) * frame->width + client.left + x];
  };
  std::string problem;
  if (!came || !frame) {
    problem = "no frame";
  } else if (frame->width < client.left + s.width || frame->height < client.top + s.height) {
    problem = "size " + std::to_string(frame->width) + "x" + std::to_string(frame->height) + " for " +
              std::to_string(s.width) + "x" + std::to_string(s.height);
  } else {
    for (int32_t y = 0; y < s.height && problem.empty(); ++y) {
      for (int32_t x = 0; x < s.width; ++x) {
        if (at(x, y) != *s.pixelAddress(x, y)) {
          problem = "pixel " + std::to_string(x) + "," + std::to_string(y);
          break;
        }
      }
    }
    if (problem.empty() && at(0, 0) != corner) problem = "corner " + std::to_string(at(0, 0));
  }
  report(std::string(name) + (problem.empty() ? " ok" : " differs: " + problem));
}

// Shapes, an image and text over a blue background.
void paintScene(const VMPtr<Graphics>& g, int32_t width, int32_t height) {
  g->setColor(0x0000FF);
  g->fillRect(0, 0, width, height);
  g->setColor(0xFF0000);
  g->fillRect(10, 10, 40, 20);
  g->setColor(0xFFFF00);
  g->drawLine(0, 60, width - 1, 60);
  g->fillTriangle(20, 70, 60, 70, 40, 100);
  g->drawRect(70, 70, 30, 30);
  VMPtr<VMArray<int32_t>> pixels = VMArray<int32_t>::create(16 * 16);
  for (int32_t i = 0; i < pixels->length; ++i) pixels->elements()[i] = (i / 16 + i) % 2 ? 0xFF00FF00 : 0;
  g->drawImage(Image::createRGBImage(pixels, 16, 16, 1), width - 10, 10, Graphics::TOP | Graphics::RIGHT);
  g->setColor(0xFFFFFF);
  g->drawString(java::lang::String::_VM_fromUTF8("Hello, phone"), width / 2, height - 10,
                Graphics::BASELINE | Graphics::HCENTER);
}

// The second picture, painted and flushed on a Java thread.
class Painter : public virtual java::lang::Object, public virtual java::lang::Runnable {
  VM_CLASS(Painter, java::lang::Object)

 public:
  void run() override {
    VMPtr<Graphics> g = Graphics::create(screen);
    g->setColor(0x00FF00);
    g->fillRect(0, 0, screen->width, screen->height);
    g->setColor(0);
    g->drawString(java::lang::String::_VM_fromUTF8("from a thread"), 4, 4, 0);
    const uint64_t frames = CeHeadlessBackend::instance().frameCount() + 1;
    HAL_flushScreenBuffer(screen);
    checkFrame("thread-frame", frames, rasterPack565(0x00FF00));
  }
};

class GraphicsMIDlet : public javax::microedition::midlet::MIDlet {
  VM_CLASS(GraphicsMIDlet, javax::microedition::midlet::MIDlet)

 public:
  VMPtr<GraphicsMIDlet> _VM_init() {
    MIDlet::_VM_init();
    return VMPtr<GraphicsMIDlet>(this);
  }

  void startApp() override {
    if (screen != nullptr) return;
    std::thread([] { testAppReadCommands(); }).detach();
    HALWindowObject* window = nullptr;
    if (HAL_createCanvas(&window, 1) != HAL_OK || HAL_setCurrentDisplayable(window) != HAL_OK ||
        HAL_createScreenBuffer(window, &screen) != HAL_OK) {
      return report("no screen");
    }
    VMPtr<Graphics> g = Graphics::create(screen);
    paintScene(g, screen->width, screen->height);
    const uint64_t frames = CeHeadlessBackend::instance().frameCount() + 1;
    HAL_flushScreenBuffer(screen);  // the main thread: shown at once
    checkFrame("main-frame", frames, rasterPack565(0x0000FF));

    VMPtr<Painter> painter = Painter::_VM_new();
    painter->Object::_VM_init();
    VMPtr<java::lang::Thread> thread = java::lang::Thread::_VM_new();
    thread->_VM_init(VMPtr<java::lang::Runnable>(painter));
    thread->start();
  }

  void pauseApp() override {}
  void destroyApp(uint8_t) override { report("destroyApp"); }
};

}  // namespace graphicstest

VM_REGISTER_CLASS(graphicstest::Painter, "graphicstest.Painter", "java.lang.Object", 0);
VM_IMPLEMENTS(graphicstest::Painter, "java.lang.Runnable");
VM_REGISTER_CLASS(graphicstest::GraphicsMIDlet, "graphicstest.GraphicsMIDlet", "javax.microedition.midlet.MIDlet",
                  VM_INSTANTIABLE);

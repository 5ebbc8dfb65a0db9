// The MIDlet of the canvas end-to-end test program (jme_canvas_app: the
// real program's entry with this file added). It shows a game canvas whose
// own thread draws a fixed picture every frame with a 5 x 5 white marker
// centred where the stylus last touched, and flushes it. It reports on
// standard output, one line each:
//   startApp W H        the canvas's size
//   pointer KIND X Y    a stylus event reached the canvas (press, drag, release)
//   drawn X Y           the first frame with the marker at (X, Y) was flushed
//   sizeChanged W H T   the canvas's size changed; T is "main" when its
//                       handler ran on the main thread, else "other"
//   frame W H L T       the answer to "frame": a screen-sized frame was
//                       written, with the window's client area at (L, T)
//   destroyApp
// and takes commands on standard input, one a line:
//   down X Y, drag X Y, up X Y   the stylus, in client coordinates
//   frame PATH          waits for a frame presented after the command and
//                       writes its pixels (RGB565, rows top down) to PATH
//   fullscreen on|off   the canvas thread switches the canvas's full-screen
//                       mode before its next frame
//   close               the window's close button
// Frames are recorded by a backend that wraps the one in use, so the same
// check runs headless and in the SDL2 window.
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "CeBackend.h"
#include "CeHeadlessBackend.h"
#include "CeWindowManager.h"
#include "HALShell.h"
#include "HALWindow.h"
#include "TestAppDriver.h"
#include "VMClassKit.h"
#include "java_lang_Runnable.h"
#include "java_lang_Thread.h"
#include "javax_microedition_lcdui_Display.h"
#include "javax_microedition_lcdui_game_GameCanvas.h"
#include "javax_microedition_midlet_MIDlet.h"

namespace canvasapp {

using javax::microedition::lcdui::Graphics;

void report(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Passes everything to the backend it wraps and keeps the latest frame.
class RecordingBackend : public CeBackend {
 public:
  explicit RecordingBackend(CeBackend* inner) : inner_(inner) {}
  const char* name() const override { return inner_->name(); }
  void openScreen(const std::u16string& title, int32_t w, int32_t h) override { inner_->openScreen(title, w, h); }
  void resizeScreen(int32_t w, int32_t h) override { inner_->resizeScreen(w, h); }
  void present(const CeFrame& frame) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      last_ = frame;
      ++count_;
    }
    presented_.notify_all();
    inner_->present(frame);
  }
  void raise() override { inner_->raise(); }
  void pump() override { inner_->pump(); }
  bool waitsForInput() const override { return inner_->waitsForInput(); }
  void waitForInput(int32_t ms) override { inner_->waitForInput(ms); }
  void wake() override { inner_->wake(); }

  // The first frame presented after this call; false after 5 s.
  bool nextFrame(CeFrame* out) {
    std::unique_lock<std::mutex> lock(mutex_);
    const uint64_t seen = count_;
    if (!presented_.wait_for(lock, std::chrono::seconds(5), [&] { return count_ > seen; })) return false;
    *out = last_;
    return true;
  }

 private:
  CeBackend* inner_;
  std::mutex mutex_;
  std::condition_variable presented_;
  CeFrame last_;
  uint64_t count_ = 0;
};

RecordingBackend* recorder = nullptr;
// The full-screen mode the canvas thread is to set next: 0 or 1, -1 none.
std::atomic<int> fullScreenWanted{-1};

class MarkerCanvas : public javax::microedition::lcdui::game::GameCanvas, public virtual java::lang::Runnable {
  VM_CLASS(MarkerCanvas, javax::microedition::lcdui::game::GameCanvas)

 public:
  VMPtr<MarkerCanvas> _VM_init() {
    GameCanvas::_VM_init(0);
    markerX = markerY = -100;  // off the screen until the first touch
    return VMPtr<MarkerCanvas>(this);
  }
  void pointerPressed(int32_t x, int32_t y) override { moveTo("press", x, y); }
  void pointerDragged(int32_t x, int32_t y) override { moveTo("drag", x, y); }
  void pointerReleased(int32_t x, int32_t y) override { moveTo("release", x, y); }
  void sizeChanged(int32_t w, int32_t h) override {
    report("sizeChanged " + std::to_string(w) + " " + std::to_string(h) + (HAL_isMainThread() ? " main" : " other"));
  }

  // The canvas thread: draw, flush, report the first frame of each marker
  // position, sleep.
  void run() override {
    int32_t reportedX = markerX;
    int32_t reportedY = markerY;
    while (running) {
      const int wanted = fullScreenWanted.exchange(-1);
      if (wanted >= 0) setFullScreenMode(static_cast<uint8_t>(wanted));
      const int32_t x = markerX;
      const int32_t y = markerY;
      VMPtr<Graphics> g = getGraphics();
      const int32_t w = getWidth();
      const int32_t h = getHeight();
      g->setColor(0x203040);
      g->fillRect(0, 0, w, h);
      g->setColor(0xFF0000);
      g->fillRect(0, 0, w / 2, h / 2);
      g->setColor(0x0000FF);
      g->fillRect(w / 2, h / 2, w - w / 2, h - h / 2);
      g->setColor(0xFFFFFF);
      g->fillRect(x - 2, y - 2, 5, 5);
      flushGraphics();
      if (x != reportedX || y != reportedY) {
        reportedX = x;
        reportedY = y;
        report("drawn " + std::to_string(x) + " " + std::to_string(y));
      }
      java::lang::Thread::sleep(15);
    }
  }

  int32_t markerX;
  int32_t markerY;
  bool running = true;

 private:
  void moveTo(const char* kind, int32_t x, int32_t y) {
    markerX = x;
    markerY = y;
    report(std::string("pointer ") + kind + " " + std::to_string(x) + " " + std::to_string(y));
  }
};

class CanvasMIDlet : public javax::microedition::midlet::MIDlet {
  VM_CLASS(CanvasMIDlet, javax::microedition::midlet::MIDlet)

 public:
  VMPtr<CanvasMIDlet> _VM_init() {
    MIDlet::_VM_init();
    return VMPtr<CanvasMIDlet>(this);
  }

  void startApp() override {
    if (!canvas) {
      recorder = new RecordingBackend(&CeBackend::current());
      CeBackend::use(recorder);
      VMPtr<MarkerCanvas> made = MarkerCanvas::_VM_new();
      made->_VM_init();
      canvas = made;
      javax::microedition::lcdui::Display::getDisplay(VMPtr<MIDlet>(this))->setCurrent(made);
      VMPtr<java::lang::Thread> thread = java::lang::Thread::_VM_new();
      thread->_VM_init(VMPtr<java::lang::Runnable>(made));
      thread->start();
      std::thread(readCommands).detach();
    }
    report("startApp " + std::to_string(canvas->getWidth()) + " " + std::to_string(canvas->getHeight()));
  }
  void pauseApp() override {}
  void destroyApp(uint8_t) override {
    if (canvas) canvas->running = false;
    report("destroyApp");
  }

  void _VM_markReferences(int colour) override {
    _VM_mark(canvas, colour);
    MIDlet::_VM_markReferences(colour);
  }

  VMField<MarkerCanvas> canvas;

 private:
  static void writeFrame(const std::string& path) {
    CeFrame frame;
    if (!recorder->nextFrame(&frame)) {
      report("frame timeout");
      return;
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(frame.pixels.data()),
              static_cast<std::streamsize>(frame.pixels.size() * sizeof(uint16_t)));
    ce::RECT rect{};
    CeWindowManager::screenRect(HAL_getMainWindow(), &rect);
    report("frame " + std::to_string(frame.width) + " " + std::to_string(frame.height) + " " +
           std::to_string(rect.left) + " " + std::to_string(rect.top));
  }

  static void readCommands() {
    testAppReadCommands([](const std::string& line) {
      std::istringstream in(line);
      std::string command;
      in >> command;
      int32_t x = 0;
      int32_t y = 0;
      if (command == "down" && in >> x >> y) {
        CeHeadlessBackend::stylusDown(x, y);
      } else if (command == "drag" && in >> x >> y) {
        CeHeadlessBackend::stylusDrag(x, y);
      } else if (command == "up" && in >> x >> y) {
        CeHeadlessBackend::stylusUp(x, y);
      } else if (std::string mode; command == "fullscreen" && in >> mode) {
        fullScreenWanted.store(mode == "on" ? 1 : 0);
      } else if (std::string path; command == "frame" && in >> path) {
        writeFrame(path);
      } else if (!testAppCommand(command)) {
        report("unknown command " + command);
      }
    });
  }
};

}  // namespace canvasapp

VM_REGISTER_CLASS(canvasapp::MarkerCanvas, "canvasapp.MarkerCanvas", "javax.microedition.lcdui.game.GameCanvas", 0);
VM_IMPLEMENTS(canvasapp::MarkerCanvas, "java.lang.Runnable");
VM_REGISTER_CLASS(canvasapp::CanvasMIDlet, "canvasapp.CanvasMIDlet", "javax.microedition.midlet.MIDlet",
                  VM_INSTANTIABLE);

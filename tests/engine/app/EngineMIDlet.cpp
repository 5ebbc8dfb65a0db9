// The MIDlet of the engine's end-to-end test program (jme_engine_app: the
// real program's entry with this file added). It shows an engine canvas
// whose game does nothing but fill the screen and report; one line each:
//   startApp              the canvas is made and current
//   event C               the canvas thread sent application event C
//   tick                  the first tick after the start or a resume
//   drawn                 the second tick after the start: the first frame
//                         has been painted and flushed
//   destroyApp
// Commands on standard input, one a line: pause, resume, close (the
// window's focus and close button, as the shell's test program has them),
// quit (a Java thread of the MIDlet asks the canvas to quit, whether it is
// paused or not) and throw (the game's next tick throws).
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "TestAppDriver.h"
#include "VMClassKit.h"
#include "VMThrow.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_Runnable.h"
#include "java_lang_RuntimeException.h"
#include "java_lang_Thread.h"
#include "javax_microedition_lcdui_Display.h"
#include "javax_microedition_midlet_MIDlet.h"
#include "tq_TqCanvas.h"

namespace engineapp {

using javax::microedition::lcdui::Graphics;

void report(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// What the command thread asks of the game's next tick.
std::atomic<int> request{0};
constexpr int kQuit = 1;
constexpr int kThrow = 2;

class SpineCanvas : public tq::TqCanvas {
  VM_CLASS(SpineCanvas, tq::TqCanvas)

 public:
  VMPtr<SpineCanvas> _VM_init(VMPtr<MIDlet> owner) {
    Base::_VM_init(owner);
    return VMPtr<SpineCanvas>(this);
  }
  void tick() override {
    latchKeys();
    if (!reported) {
      reported = true;
      report("tick");
    }
    if (++ticks == 2) report("drawn");
    int expected = kThrow;
    if (request.compare_exchange_strong(expected, 0)) {
      _VM_throwNew<java::lang::RuntimeException>("tick failed on purpose");
    }
  }
  void paintFrame(VMPtr<Graphics> g) override {
    g->setColor(0x336699);
    g->fillRect(0, 0, getViewWidth(), getViewHeight());
  }
  void onAppEvent(int32_t code) override {
    report("event " + std::to_string(code));
    if (code == 5) reported = false;
    TqCanvas::onAppEvent(code);
  }

  bool reported = false;
  int64_t ticks = 0;
};

// Polls for the quit command and asks the canvas to quit, as a game's menu
// would; it ends once the canvas is exiting, so it never holds up the
// shutdown.
class QuitWatcher : public virtual java::lang::Object, public virtual java::lang::Runnable {
  VM_CLASS(QuitWatcher, java::lang::Object)

 public:
  VMPtr<QuitWatcher> _VM_init(VMPtr<SpineCanvas> canvas) {
    Base::_VM_init();
    this->canvas = canvas;
    return VMPtr<QuitWatcher>(this);
  }
  void run() override {
    int expected = kQuit;
    while (!request.compare_exchange_strong(expected, 0)) {
      if (tq::TqCanvas::runState == 4) return;
      expected = kQuit;
      try {
        java::lang::Thread::sleep(10);
      } catch (java::lang::InterruptedException* e) {
        VMPtr<java::lang::InterruptedException> interrupted(e);
        return;  // the VM is shutting down
      }
    }
    VMPtr<SpineCanvas>(canvas)->requestState(3);
  }
  void _VM_markReferences(int colour) override {
    _VM_mark(canvas, colour);
    Base::_VM_markReferences(colour);
  }

  VMField<SpineCanvas> canvas;
};

class EngineMIDlet : public javax::microedition::midlet::MIDlet {
  VM_CLASS(EngineMIDlet, javax::microedition::midlet::MIDlet)

 public:
  VMPtr<EngineMIDlet> _VM_init() {
    Base::_VM_init();
    return VMPtr<EngineMIDlet>(this);
  }
  void startApp() override {
    if (canvas) {
      canvas->showNotify();
      return;
    }
    VMPtr<SpineCanvas> made = SpineCanvas::_VM_new();
    made->_VM_init(VMPtr<MIDlet>(this));
    canvas = made;
    javax::microedition::lcdui::Display::getDisplay(VMPtr<MIDlet>(this))->setCurrent(made);
    report("startApp");
    VMPtr<QuitWatcher> watcher = QuitWatcher::_VM_new();
    watcher->_VM_init(made);
    VMPtr<java::lang::Thread> thread = java::lang::Thread::_VM_new();
    thread->_VM_init(VMPtr<java::lang::Runnable>(watcher));
    thread->start();
    std::thread(readCommands).detach();
  }
  void pauseApp() override {
    if (canvas) canvas->hideNotify();
  }
  void destroyApp(uint8_t) override {
    report("destroyApp");
    if (canvas) canvas->requestState(3);
  }
  void _VM_markReferences(int colour) override {
    _VM_mark(canvas, colour);
    Base::_VM_markReferences(colour);
  }

  VMField<SpineCanvas> canvas;

 private:
  static void readCommands() {
    testAppReadCommands([](const std::string& command) {
      if (command == "quit") {
        request = kQuit;
      } else if (command == "throw") {
        request = kThrow;
      } else if (!testAppCommand(command)) {
        report("unknown command " + command);
      }
    });
  }
};

}  // namespace engineapp

VM_REGISTER_CLASS(engineapp::SpineCanvas, "engineapp.SpineCanvas", "tq.TqCanvas", 0);
VM_REGISTER_CLASS(engineapp::QuitWatcher, "engineapp.QuitWatcher", "java.lang.Object", 0);
VM_IMPLEMENTS(engineapp::QuitWatcher, "java.lang.Runnable");
VM_REGISTER_CLASS(engineapp::EngineMIDlet, "engineapp.EngineMIDlet", "javax.microedition.midlet.MIDlet",
                  VM_INSTANTIABLE);

// The MIDlet of the shell's end-to-end test program (jme_test_app, the real
// program's entry with this file added). It reports each lifecycle call on
// standard output, one line each, and takes commands on standard input, one
// a line, so a test can drive the running program from outside:
//   pause, resume      the window loses or gets back its activation
//   power-off, power-on
//   close              the window's close
//   notify-destroyed   the MIDlet ends the application itself
#include <cstdio>
#include <string>
#include <thread>

#include "HALGlobalLock.h"
#include "TestAppDriver.h"
#include "VMClassKit.h"
#include "javax_microedition_midlet_MIDlet.h"

namespace shelltest {

class TestMIDlet : public javax::microedition::midlet::MIDlet {
  VM_CLASS(TestMIDlet, javax::microedition::midlet::MIDlet)

 public:
  VMPtr<TestMIDlet> _VM_init() {
    MIDlet::_VM_init();
    return VMPtr<TestMIDlet>(this);
  }
  void startApp() override {
    report("startApp");
    static bool driving = false;
    if (!driving) {
      driving = true;
      current = this;
      std::thread(readCommands).detach();
    }
  }
  void pauseApp() override { report("pauseApp"); }
  void destroyApp(uint8_t unconditional) override { report(unconditional ? "destroyApp true" : "destroyApp false"); }

  static void report(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
  }

 private:
  static inline TestMIDlet* current = nullptr;

  // Runs on a thread of its own: every command but notify-destroyed
  // becomes a message to the main window, as the phone would send it.
  static void readCommands() {
    testAppReadCommands([](const std::string& command) {
      if (command == "notify-destroyed") {
        // The MIDlet is held by the application manager; its state is
        // written under the global lock, as on any Java thread.
        HAL_enterGlobalLock();
        current->notifyDestroyed();
        HAL_leaveGlobalLock();
      } else if (!testAppCommand(command)) {
        report(("unknown command " + command).c_str());
      }
    });
  }
};

}  // namespace shelltest

VM_REGISTER_CLASS(shelltest::TestMIDlet, "shelltest.TestMIDlet", "javax.microedition.midlet.MIDlet",
                  VM_INSTANTIABLE);

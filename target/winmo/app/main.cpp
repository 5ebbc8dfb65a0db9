// The program's entry: hands the VM's callbacks to the platform layer and
// runs the application (start-up, message loop, shutdown); its result is
// the exit code.
//
//   jme               runs the application (its MIDlet is named by the
//                     "MIDlet-1" property in properties/app.prop beside the
//                     program)
//   jme --headless    the same without a window (as JME_BACKEND=headless)
//   jme --print-only  prints one line and exits (the baseline of the
//                     start-up benchmark)
#include <cstdio>
#include <cstring>

#include "HALCallbacks.h"
#include "HALShell.h"
#include "CeBackend.h"
#include "VMContext.h"

int main(int argc, char** argv) {
  bool headless = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--print-only") == 0) {
      std::puts("jme");
      return 0;
    }
    if (std::strcmp(argv[i], "--headless") == 0) headless = true;
  }
  if (!CeBackend::choose(headless)) return 1;
  // The runtime's table: create, broadcast, detach, re-attach, collect,
  // destroy.
  HAL_setVMCallbacks(_VM_getCallbacks());
  return HAL_runApplication(nullptr, 1);
}

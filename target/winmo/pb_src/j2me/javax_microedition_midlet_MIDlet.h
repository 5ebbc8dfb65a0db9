#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "java_lang_String.h"

namespace javax::microedition::midlet {

// The base class of an application's MIDlet. It keeps the lifecycle state
// that the application manager drives (com.ravelstone.brume.AMS) and lets
// the MIDlet end the application or hand a URL to the system.
//
// States and the transitions setState refuses:
//   0 paused       (refuses 4)
//   1 active       (refuses 2 and 3, so a resume of an active MIDlet does nothing)
//   2 constructed  (refuses 4)
//   3 starting     (inside startApp)
//   4 pausing      (inside pauseApp)
//   5 destroying   (refuses everything but 6)
//   6 destroyed    (refuses everything)
// A code outside 0..6 is refused as well.
class MIDlet : public virtual java::lang::Object {
  VM_CLASS(MIDlet, java::lang::Object)

 public:
  static constexpr int32_t kPaused = 0;
  static constexpr int32_t kActive = 1;
  static constexpr int32_t kConstructed = 2;
  static constexpr int32_t kStarting = 3;
  static constexpr int32_t kPausing = 4;
  static constexpr int32_t kDestroying = 5;
  static constexpr int32_t kDestroyed = 6;

  // Sets the state to constructed.
  VMPtr<MIDlet> _VM_init();

  virtual void startApp() = 0;
  virtual void pauseApp() = 0;
  virtual void destroyApp(uint8_t unconditional) = 0;

  // 1 and the new state stored when the transition is allowed, else 0.
  uint8_t setState(int32_t newState);
  // Destroyed, then asks the main window for the exit sequence (which runs
  // later, on the main thread). Any thread.
  void notifyDestroyed();
  // Keeps `url` for the browser at exit and returns true (the application
  // must exit before it opens). NullPointerException for null.
  uint8_t platformRequest(VMPtr<java::lang::String> url);
  // The application property `key` (AMS.getAppProperty).
  VMPtr<java::lang::String> getAppProperty(VMPtr<java::lang::String> key);

  int32_t state;
};

}  // namespace javax::microedition::midlet

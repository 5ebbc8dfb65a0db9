#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace java::lang {

// The one Runtime: memory figures, collection and the controlled exit.
class Runtime : public virtual Object {
  VM_CLASS(Runtime, Object)

 public:
  static VMPtr<Runtime> getRuntime();

  // With exit allowed, ends the calling thread through the exit carrier
  // (no Java handler catches it); otherwise SecurityException, because a
  // MIDlet may not end the VM.
  [[noreturn]] virtual void exit(int32_t status);
  virtual int64_t freeMemory();
  virtual int64_t totalMemory();
  virtual void gc();
  virtual void _VM_setExitAllowed(uint8_t allowed);

  static VMStatic<Runtime> instance;
  static uint8_t exitAllowed;
};

}  // namespace java::lang

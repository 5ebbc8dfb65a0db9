#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "java_lang_String.h"

namespace javax::microedition::io {

// Launching applications by alarm or connection: this platform offers
// neither.
class PushRegistry : public virtual java::lang::Object {
  VM_CLASS(PushRegistry, java::lang::Object)

 public:
  // Always throws ConnectionNotFoundException "not supported".
  static int64_t registerAlarm(VMPtr<java::lang::String> midlet, int64_t time);
};

}  // namespace javax::microedition::io

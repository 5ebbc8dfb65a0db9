#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace javax::microedition::rms {

// Chooses the records an enumeration walks.
class RecordFilter : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(RecordFilter)

 public:
  virtual uint8_t matches(VMPtr<VMArray<int8_t>> candidate) = 0;
};

}  // namespace javax::microedition::rms

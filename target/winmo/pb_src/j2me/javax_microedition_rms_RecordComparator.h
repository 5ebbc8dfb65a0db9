#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace javax::microedition::rms {

// Orders the records an enumeration walks.
class RecordComparator : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(RecordComparator)

 public:
  static constexpr int32_t EQUIVALENT = 0;
  static constexpr int32_t FOLLOWS = 1;
  static constexpr int32_t PRECEDES = -1;

  // FOLLOWS when a comes after b, PRECEDES when before, else EQUIVALENT.
  virtual int32_t compare(VMPtr<VMArray<int8_t>> a, VMPtr<VMArray<int8_t>> b) = 0;
};

}  // namespace javax::microedition::rms

#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "java_lang_String.h"

namespace tq::util::text {

// The string routine the text wrapper needs.
class StringHelper : public virtual java::lang::Object {
  VM_CLASS(StringHelper, java::lang::Object)

 public:
  // The last k in from..to (both inclusive) where s holds c; -1 when there
  // is none or to < from.
  static int32_t lastIndexOf(VMPtr<java::lang::String> s, char16_t c, int32_t from, int32_t to);
};

}  // namespace tq::util::text

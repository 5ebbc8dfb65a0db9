#pragma once

#include "VMClassKit.h"
#include "java_lang_String.h"

namespace tq {

// Eight String constants, every one the empty string.
class KeyMapping : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(KeyMapping)

 public:
  static constexpr int32_t kCount = 8;
  static void _VM_clinit();

  static VMStatic<java::lang::String> MAPPING_0;
  static VMStatic<java::lang::String> MAPPING_1;
  static VMStatic<java::lang::String> MAPPING_2;
  static VMStatic<java::lang::String> MAPPING_3;
  static VMStatic<java::lang::String> MAPPING_4;
  static VMStatic<java::lang::String> MAPPING_5;
  static VMStatic<java::lang::String> MAPPING_6;
  static VMStatic<java::lang::String> MAPPING_7;
};

}  // namespace tq

#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace java::lang {

class String;

// The boxed long, with its radix formatting.
class Long final : public virtual Object {
  VM_CLASS(Long, Object)

 public:
  // Long(long value)
  VMPtr<Long> _VM_init(int64_t value);

  // The low 32 bits XOR the high 32 bits of the value.
  int32_t hashCode() override;
  // True for a Long of the same value.
  uint8_t equals(VMPtr<Object> other) override;
  // The decimal text of the value.
  VMPtr<String> toString() override;

  // The text of `l` in `radix` with lower-case digits and a leading '-' for
  // negative numbers; a radix outside 2..36 counts as 10.
  static VMPtr<String> toString(int64_t l, int32_t radix);

  int64_t value;
};

}  // namespace java::lang

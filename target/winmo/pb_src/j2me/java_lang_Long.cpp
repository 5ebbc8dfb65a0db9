#include "java_lang_Long.h"

#include "VMClassRegistry.h"
#include "java_lang_Integer.h"
#include "java_lang_String.h"

VM_REGISTER_CLASS(java::lang::Long, "java.lang.Long", "java.lang.Object", 0);

namespace java::lang {

VMPtr<Long> Long::_VM_init(int64_t value) {
  Object::_VM_init();
  this->value = value;
  return VMPtr<Long>(this);
}

int32_t Long::hashCode() {
  const auto bits = static_cast<uint64_t>(value);
  return static_cast<int32_t>(static_cast<uint32_t>(bits ^ (bits >> 32)));
}

uint8_t Long::equals(VMPtr<Object> other) {
  if (!_VM_instanceOf(other.get(), _VM_class)) return 0;
  return dynamic_cast<Long*>(other.get())->value == value;
}

VMPtr<String> Long::toString() { return String::valueOf(value); }

VMPtr<String> Long::toString(int64_t l, int32_t radix) {
  char16_t buffer[65];
  char16_t* end = buffer + 65;
  const char16_t* first = Integer::_VM_formatRadix(l, radix, end);
  return String::_VM_fromUTF16(first, static_cast<int32_t>(end - first));
}

}  // namespace java::lang

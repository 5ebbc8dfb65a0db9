#include "java_lang_ArrayIndexOutOfBoundsException.h"

#include <cstdio>

VM_REGISTER_CLASS(java::lang::ArrayIndexOutOfBoundsException, "java.lang.ArrayIndexOutOfBoundsException", "java.lang.IndexOutOfBoundsException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<ArrayIndexOutOfBoundsException> ArrayIndexOutOfBoundsException::_VM_init() {
  IndexOutOfBoundsException::_VM_init();
  return VMPtr<ArrayIndexOutOfBoundsException>(this);
}

VMPtr<ArrayIndexOutOfBoundsException> ArrayIndexOutOfBoundsException::_VM_init(VMPtr<java::lang::String> message) {
  IndexOutOfBoundsException::_VM_init(message);
  return VMPtr<ArrayIndexOutOfBoundsException>(this);
}

VMPtr<ArrayIndexOutOfBoundsException> ArrayIndexOutOfBoundsException::_VM_init(int32_t index) {
  char text[48];
  std::snprintf(text, sizeof text, "Array index out of range: %d", static_cast<int>(index));
  IndexOutOfBoundsException::_VM_init(java::lang::String::_VM_fromUTF8(text));
  return VMPtr<ArrayIndexOutOfBoundsException>(this);
}

}  // namespace java::lang

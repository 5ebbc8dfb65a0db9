#include "java_lang_StringIndexOutOfBoundsException.h"

#include <cstdio>

VM_REGISTER_CLASS(java::lang::StringIndexOutOfBoundsException, "java.lang.StringIndexOutOfBoundsException", "java.lang.IndexOutOfBoundsException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<StringIndexOutOfBoundsException> StringIndexOutOfBoundsException::_VM_init() {
  IndexOutOfBoundsException::_VM_init();
  return VMPtr<StringIndexOutOfBoundsException>(this);
}

VMPtr<StringIndexOutOfBoundsException> StringIndexOutOfBoundsException::_VM_init(VMPtr<java::lang::String> message) {
  IndexOutOfBoundsException::_VM_init(message);
  return VMPtr<StringIndexOutOfBoundsException>(this);
}

VMPtr<StringIndexOutOfBoundsException> StringIndexOutOfBoundsException::_VM_init(int32_t index) {
  char text[48];
  std::snprintf(text, sizeof text, "String index out of range: %d", static_cast<int>(index));
  IndexOutOfBoundsException::_VM_init(java::lang::String::_VM_fromUTF8(text));
  return VMPtr<StringIndexOutOfBoundsException>(this);
}

}  // namespace java::lang

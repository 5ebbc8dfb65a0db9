#include "java_util_NoSuchElementException.h"

VM_REGISTER_CLASS(java::util::NoSuchElementException, "java.util.NoSuchElementException", "java.lang.RuntimeException", VM_INSTANTIABLE);

namespace java::util {

VMPtr<NoSuchElementException> NoSuchElementException::_VM_init() {
  java::lang::RuntimeException::_VM_init();
  return VMPtr<NoSuchElementException>(this);
}

VMPtr<NoSuchElementException> NoSuchElementException::_VM_init(VMPtr<java::lang::String> message) {
  java::lang::RuntimeException::_VM_init(message);
  return VMPtr<NoSuchElementException>(this);
}

}  // namespace java::util

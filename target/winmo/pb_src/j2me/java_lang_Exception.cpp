#include "java_lang_Exception.h"

VM_REGISTER_CLASS(java::lang::Exception, "java.lang.Exception", "java.lang.Throwable", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<Exception> Exception::_VM_init() {
  Throwable::_VM_init();
  return VMPtr<Exception>(this);
}

VMPtr<Exception> Exception::_VM_init(VMPtr<java::lang::String> message) {
  Throwable::_VM_init(message);
  return VMPtr<Exception>(this);
}

}  // namespace java::lang

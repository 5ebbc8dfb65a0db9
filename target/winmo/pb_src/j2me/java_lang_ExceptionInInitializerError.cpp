#include "java_lang_ExceptionInInitializerError.h"

VM_REGISTER_CLASS(java::lang::ExceptionInInitializerError, "java.lang.ExceptionInInitializerError",
                  "java.lang.Error", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<ExceptionInInitializerError> ExceptionInInitializerError::_VM_init() {
  Error::_VM_init();
  return VMPtr<ExceptionInInitializerError>(this);
}

VMPtr<ExceptionInInitializerError> ExceptionInInitializerError::_VM_init(VMPtr<Throwable> thrown) {
  Error::_VM_init();
  exception = thrown;
  return VMPtr<ExceptionInInitializerError>(this);
}

VMPtr<Throwable> ExceptionInInitializerError::getException() { return VMPtr<Throwable>(exception); }

void ExceptionInInitializerError::_VM_markReferences(int colour) {
  _VM_mark(exception, colour);
  Error::_VM_markReferences(colour);
}

}  // namespace java::lang

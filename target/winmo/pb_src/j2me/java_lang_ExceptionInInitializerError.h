#pragma once

#include "java_lang_Error.h"

namespace java::lang {

// Wraps what a static initialiser threw when that was not an Error.
class ExceptionInInitializerError : public Error {
  VM_THROWABLE_CLASS(ExceptionInInitializerError, Error)

 public:
  VMPtr<ExceptionInInitializerError> _VM_init();
  // The message stays null; getException returns `thrown`.
  VMPtr<ExceptionInInitializerError> _VM_init(VMPtr<Throwable> thrown);
  virtual VMPtr<Throwable> getException();
  void _VM_markReferences(int colour) override;

  VMField<Throwable> exception;
};

}  // namespace java::lang

#include "VMExitException.h"

#include "VMClassMacros.h"

VMPtr<VMExitException> VMExitException::_VM_new(int32_t status) {
  VMPtr<VMExitException> out(new VMExitException());
  out->status = status;
  _VM_endConstruction(out.get());
  return out;
}

void VMExitException::_VM_throw() {
  _VM_setExceptionInFlight(this);
  throw this;
}

#pragma once

#include <cstdint>

#include "VMException.h"

// Carries Runtime.exit out of Java code: no Java handler catches it (it is
// not a Throwable), so it unwinds to the thread's run wrapper.
class VMExitException final : public VMException {
 public:
  static VMPtr<VMExitException> _VM_new(int32_t status);
  [[noreturn]] void _VM_throw() override;

  int32_t status = 0;

 private:
  VMExitException() = default;
};

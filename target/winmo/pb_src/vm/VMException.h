#pragma once

#include "VMObject.h"

// The native base of everything the runtime throws: every Java throwable and
// the exit carrier. No Java code names it.
class VMException : public virtual java::lang::Object {
 public:
  // Throws this object as a pointer to its own class.
  [[noreturn]] virtual void _VM_throw() = 0;
};

// Java `throw e`: throws the object with its run-time class (a null
// reference throws NullPointerException).
template <class T>
[[noreturn]] inline void _VM_throw(const VMPtr<T>& e) {
  e->_VM_throw();
  __builtin_unreachable();
}

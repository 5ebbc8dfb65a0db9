#pragma once

// A `synchronized` method or block: one guard object on the stack that holds
// the monitor of its object for its lifetime and releases it on every way out
// of the block (normal end, a Java exception, the exit carrier).
//
//   void Counter::increment() {
//     VMSynchronized guard(this);
//     ++count;
//   }

#include "VMMonitor.h"
#include "VMObject.h"
#include "VMRef.h"

class VMSynchronized {
 public:
  // Locks `o`; a null object throws NullPointerException, as in Java. The
  // guard keeps a stack reference to the object, so it stays alive while
  // locked.
  explicit VMSynchronized(java::lang::Object* o) : object_(o) {
    if (o == nullptr) [[unlikely]] _VM_throwNullPointerException();
    _VM_lock(o);
  }
  template <class T>
  explicit VMSynchronized(const VMPtr<T>& o) : VMSynchronized(static_cast<java::lang::Object*>(o.get())) {}
  template <class T>
  explicit VMSynchronized(const VMField<T>& o) : VMSynchronized(static_cast<java::lang::Object*>(o.get())) {}

  ~VMSynchronized() { _VM_unlock(object_.get()); }

  VMSynchronized(const VMSynchronized&) = delete;
  VMSynchronized& operator=(const VMSynchronized&) = delete;

 private:
  VMPtr<java::lang::Object> object_;
};

#pragma once

#include "VMClassKit.h"

namespace java::lang {

// A task that a thread runs.
class Runnable : public virtual Object {
  VM_INTERFACE_CLASS(Runnable)

 public:
  virtual void run() = 0;
};

}  // namespace java::lang

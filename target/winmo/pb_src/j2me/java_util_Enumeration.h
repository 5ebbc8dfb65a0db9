#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace java::util {

// A walk over the elements of a collection, one at a time.
class Enumeration : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(Enumeration)

 public:
  virtual uint8_t hasMoreElements() = 0;
  // The next element; NoSuchElementException when there is none.
  virtual VMPtr<java::lang::Object> nextElement() = 0;
};

}  // namespace java::util

#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "java_util_Enumeration.h"

namespace java::util {

class Vector;

// The enumeration of Vector.elements(): reads the live vector by position.
class VectorEnumerator : public virtual java::lang::Object, public virtual Enumeration {
  VM_CLASS(VectorEnumerator, java::lang::Object)

 public:
  VMPtr<VectorEnumerator> _VM_init(VMPtr<Vector> vector);

  uint8_t hasMoreElements() override;
  // Under the vector's monitor; NoSuchElementException "VectorEnumerator"
  // at the end.
  VMPtr<java::lang::Object> nextElement() override;

  void _VM_markReferences(int colour) override;

  VMField<Vector> vector;
  int32_t count;
};

}  // namespace java::util

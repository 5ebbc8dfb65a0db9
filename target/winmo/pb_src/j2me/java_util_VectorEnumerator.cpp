#include "java_util_VectorEnumerator.h"

#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_util_NoSuchElementException.h"
#include "java_util_Vector.h"

VM_REGISTER_CLASS(java::util::VectorEnumerator, "java.util.VectorEnumerator", "java.lang.Object", 0);
VM_IMPLEMENTS(java::util::VectorEnumerator, "java.util.Enumeration");

namespace java::util {

VMPtr<VectorEnumerator> VectorEnumerator::_VM_init(VMPtr<Vector> vector) {
  Object::_VM_init();
  this->vector = vector;
  count = 0;
  return VMPtr<VectorEnumerator>(this);
}

uint8_t VectorEnumerator::hasMoreElements() { return count < vector->elementCount; }

VMPtr<java::lang::Object> VectorEnumerator::nextElement() {
  VMSynchronized guard(vector.get());
  if (count < vector->elementCount) return VMPtr<java::lang::Object>(vector->elementData->elements()[count++]);
  _VM_throwNew<NoSuchElementException>("VectorEnumerator");
}

void VectorEnumerator::_VM_markReferences(int colour) {
  _VM_mark(vector, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace java::util

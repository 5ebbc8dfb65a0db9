#include "java_util_Vector.h"

#include <algorithm>

#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IndexOutOfBoundsException.h"
#include "java_lang_StringBuffer.h"
#include "java_lang_System.h"
#include "java_util_NoSuchElementException.h"
#include "java_util_VectorEnumerator.h"

VM_REGISTER_CLASS(java::util::Vector, "java.util.Vector", "java.lang.Object", VM_INSTANTIABLE);

namespace java::util {

using java::lang::ArrayIndexOutOfBoundsException;
using java::lang::Object;
using java::lang::System;

VMPtr<Vector> Vector::_VM_init() { return _VM_init(10, 0); }

VMPtr<Vector> Vector::_VM_init(int32_t initialCapacity) { return _VM_init(initialCapacity, 0); }

VMPtr<Vector> Vector::_VM_init(int32_t initialCapacity, int32_t capacityIncrement) {
  Object::_VM_init();
  if (initialCapacity < 0) _VM_throwNew<java::lang::IllegalArgumentException>("Negative initialCapacity");
  elementData = Objects::create(initialCapacity);
  elementCount = 0;
  this->capacityIncrement = capacityIncrement;
  return VMPtr<Vector>(this);
}

void Vector::grow(int32_t minCapacity) {
  const int32_t oldCapacity = elementData->length;
  int32_t newCapacity = capacityIncrement > 0 ? oldCapacity + capacityIncrement : oldCapacity * 2;
  if (newCapacity < minCapacity) newCapacity = minCapacity;
  VMPtr<Objects> bigger = Objects::create(newCapacity);
  System::_VM_arraycopy(elementData.get(), 0, bigger.get(), 0, elementCount);
  elementData = bigger;
}

void Vector::checkIndex(int32_t index, int32_t limit) {
  if (index >= limit) _VM_throwNew<ArrayIndexOutOfBoundsException>("index >= elementCount");
  if (index < 0) _VM_throwNew<ArrayIndexOutOfBoundsException>(index);
}

bool Vector::matches(const VMPtr<Object>& elem, Object* slot) {
  if (!elem) return slot == nullptr;
  return elem->equals(VMPtr<Object>(slot)) != 0;
}

void Vector::copyInto(VMPtr<Objects> anArray) {
  VMSynchronized guard(this);
  if (anArray->length < elementCount) {
    _VM_throwNew<ArrayIndexOutOfBoundsException>("destination array too small");
  }
  for (int32_t i = 0; i < elementCount; ++i) anArray->setObject(i, elementData->elements()[i]);
}

void Vector::trimToSize() {
  VMSynchronized guard(this);
  if (elementCount >= elementData->length) return;
  VMPtr<Objects> exact = Objects::create(elementCount);
  System::_VM_arraycopy(elementData.get(), 0, exact.get(), 0, elementCount);
  elementData = exact;
}

void Vector::ensureCapacity(int32_t minCapacity) {
  VMSynchronized guard(this);
  if (minCapacity > elementData->length) grow(minCapacity);
}

void Vector::setSize(int32_t newSize) {
  VMSynchronized guard(this);
  if (newSize < 0) _VM_throwNew<ArrayIndexOutOfBoundsException>("new size is negative");
  if (newSize > elementCount && newSize > elementData->length) grow(newSize);
  for (int32_t i = newSize; i < elementCount; ++i) elementData->elements()[i] = nullptr;
  elementCount = newSize;
}

int32_t Vector::capacity() { return elementData->length; }

int32_t Vector::size() { return elementCount; }

uint8_t Vector::isEmpty() { return elementCount == 0; }

VMPtr<Enumeration> Vector::elements() {
  VMSynchronized guard(this);
  VMPtr<VectorEnumerator> e = VectorEnumerator::_VM_new();
  e->_VM_init(VMPtr<Vector>(this));
  return e;
}

uint8_t Vector::contains(VMPtr<Object> elem) { return indexOf(elem, 0) >= 0; }

int32_t Vector::indexOf(VMPtr<Object> elem, int32_t index) {
  VMSynchronized guard(this);
  if (index < 0) _VM_throwNew<ArrayIndexOutOfBoundsException>(index);
  for (int32_t i = index; i < elementCount; ++i) {
    if (matches(elem, elementData->elements()[i])) return i;
  }
  return -1;
}

int32_t Vector::indexOf(VMPtr<Object> elem) { return indexOf(elem, 0); }

int32_t Vector::lastIndexOf(VMPtr<Object> elem, int32_t index) {
  VMSynchronized guard(this);
  if (index >= elementCount) _VM_throwNew<java::lang::IndexOutOfBoundsException>("index >= elementCount");
  // Checked access: an equals() that shrinks this vector cannot send the
  // walk past the array.
  for (int32_t i = index; i >= 0; --i) {
    if (matches(elem, elementData->getObject(i))) return i;
  }
  return -1;
}

int32_t Vector::lastIndexOf(VMPtr<Object> elem) {
  VMSynchronized guard(this);
  return lastIndexOf(elem, elementCount - 1);
}

VMPtr<Object> Vector::elementAt(int32_t index) {
  VMSynchronized guard(this);
  checkIndex(index, elementCount);
  return VMPtr<Object>(elementData->elements()[index]);
}

VMPtr<Object> Vector::firstElement() {
  VMSynchronized guard(this);
  if (elementCount == 0) _VM_throwNew<NoSuchElementException>();
  return VMPtr<Object>(elementData->elements()[0]);
}

VMPtr<Object> Vector::lastElement() {
  VMSynchronized guard(this);
  if (elementCount == 0) _VM_throwNew<NoSuchElementException>();
  return VMPtr<Object>(elementData->elements()[elementCount - 1]);
}

void Vector::setElementAt(VMPtr<Object> obj, int32_t index) {
  VMSynchronized guard(this);
  checkIndex(index, elementCount);
  elementData->set(index, obj);
}

void Vector::removeElementAt(int32_t index) {
  VMSynchronized guard(this);
  checkIndex(index, elementCount);
  const int32_t after = elementCount - index - 1;
  if (after > 0) System::_VM_arraycopy(elementData.get(), index + 1, elementData.get(), index, after);
  --elementCount;
  elementData->elements()[elementCount] = nullptr;
}

void Vector::insertElementAt(VMPtr<Object> obj, int32_t index) {
  VMSynchronized guard(this);
  checkIndex(index, elementCount + 1);
  if (elementCount == elementData->length) grow(elementCount + 1);
  System::_VM_arraycopy(elementData.get(), index, elementData.get(), index + 1, elementCount - index);
  elementData->set(index, obj);
  ++elementCount;
}

void Vector::addElement(VMPtr<Object> obj) {
  VMSynchronized guard(this);
  if (elementCount == elementData->length) grow(elementCount + 1);
  elementData->set(elementCount, obj);
  ++elementCount;
}

uint8_t Vector::removeElement(VMPtr<Object> obj) {
  VMSynchronized guard(this);
  const int32_t i = indexOf(obj, 0);
  if (i < 0) return 0;
  removeElementAt(i);
  return 1;
}

void Vector::removeAllElements() {
  VMSynchronized guard(this);
  for (int32_t i = 0; i < elementCount; ++i) elementData->elements()[i] = nullptr;
  elementCount = 0;
}

VMPtr<java::lang::String> Vector::toString() {
  VMSynchronized guard(this);
  VMPtr<java::lang::StringBuffer> text = java::lang::StringBuffer::_VM_new();
  text->_VM_init();
  text->append(u'[');
  for (int32_t i = 0; i < elementCount; ++i) {
    if (i > 0) text->append(", ");
    text->append(VMPtr<Object>(elementData->elements()[i]));
  }
  text->append(u']');
  return text->toString();
}

void Vector::_VM_markReferences(int colour) {
  _VM_mark(elementData, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace java::util

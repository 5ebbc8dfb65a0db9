#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace java::util {

class Enumeration;

// The growable array of object references; null elements are allowed.
// Every operation but capacity(), size() and isEmpty() holds the vector's
// monitor. The slots at and past elementCount are always null.
//
// Growth for a needed capacity: capacity + capacityIncrement when the
// increment is positive, else twice the capacity, or the needed capacity
// when that is more.
//
// An index below 0 throws ArrayIndexOutOfBoundsException ("Array index out
// of range: " and the index) before anything changes.
class Vector : public virtual java::lang::Object {
  VM_CLASS(Vector, java::lang::Object)

 public:
  using Objects = VMArray<java::lang::Object>;

  // Vector(): capacity 10.
  VMPtr<Vector> _VM_init();
  VMPtr<Vector> _VM_init(int32_t initialCapacity);
  // IllegalArgumentException "Negative initialCapacity" for a negative
  // capacity. A negative increment is kept and means doubling.
  VMPtr<Vector> _VM_init(int32_t initialCapacity, int32_t capacityIncrement);

  // ArrayIndexOutOfBoundsException "destination array too small" when the
  // elements do not fit; NullPointerException for null.
  virtual void copyInto(VMPtr<Objects> anArray);
  virtual void trimToSize();
  virtual void ensureCapacity(int32_t minCapacity);
  // ArrayIndexOutOfBoundsException "new size is negative"; new slots are
  // null, dropped slots are cleared.
  virtual void setSize(int32_t newSize);
  virtual int32_t capacity();
  virtual int32_t size();
  virtual uint8_t isEmpty();
  // A live enumeration: it sees later changes by position.
  virtual VMPtr<Enumeration> elements();
  virtual uint8_t contains(VMPtr<java::lang::Object> elem);
  // A null `elem` matches null slots, any other matches by elem.equals(slot).
  // -1 when absent (also for an index at or past the end).
  virtual int32_t indexOf(VMPtr<java::lang::Object> elem, int32_t index);
  virtual int32_t indexOf(VMPtr<java::lang::Object> elem);
  // IndexOutOfBoundsException "index >= elementCount" for an index at or
  // past the end; -1 for a negative index.
  virtual int32_t lastIndexOf(VMPtr<java::lang::Object> elem, int32_t index);
  virtual int32_t lastIndexOf(VMPtr<java::lang::Object> elem);
  // An index at or past the end: ArrayIndexOutOfBoundsException
  // "index >= elementCount" (insertElementAt: past the end).
  virtual VMPtr<java::lang::Object> elementAt(int32_t index);
  // NoSuchElementException (no message) when empty.
  virtual VMPtr<java::lang::Object> firstElement();
  virtual VMPtr<java::lang::Object> lastElement();
  virtual void setElementAt(VMPtr<java::lang::Object> obj, int32_t index);
  virtual void removeElementAt(int32_t index);
  virtual void insertElementAt(VMPtr<java::lang::Object> obj, int32_t index);
  virtual void addElement(VMPtr<java::lang::Object> obj);
  // Removes the first match of indexOf; false when there is none.
  virtual uint8_t removeElement(VMPtr<java::lang::Object> obj);
  // Keeps the capacity.
  virtual void removeAllElements();
  // "[a, null, b]".
  VMPtr<java::lang::String> toString() override;

  void _VM_markReferences(int colour) override;

  VMField<Objects> elementData;
  int32_t elementCount;
  int32_t capacityIncrement;

 private:
  // Grows to at least `minCapacity`, which exceeds the capacity.
  void grow(int32_t minCapacity);
  // ArrayIndexOutOfBoundsException "index >= elementCount" or, for a
  // negative index, with the index.
  void checkIndex(int32_t index, int32_t limit);
  // The match test of indexOf and lastIndexOf.
  static bool matches(const VMPtr<java::lang::Object>& elem, java::lang::Object* slot);
};

}  // namespace java::util

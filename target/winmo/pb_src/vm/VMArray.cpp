#include "VMArray.h"

#include "VMClassRegistry.h"
#include "VMServices.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_ArrayStoreException.h"
#include "java_lang_NegativeArraySizeException.h"
#include "java_lang_OutOfMemoryError.h"

void _VM_throwArrayIndexOutOfBounds(int32_t index) {
  _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>(index);
}
void _VM_throwNegativeArraySize() { _VM_throwNew<java::lang::NegativeArraySizeException>(); }
void _VM_throwArrayStore() { _VM_throwNew<java::lang::ArrayStoreException>(); }
void _VM_arrayViewMismatch() {
  _VM_fatalError("The element block of an array was used through a type the array was not made with!");
}

int32_t VMArray_Base::getElementSize(int32_t kind) {
  switch (kind) {
    case VM_KIND_REFERENCE: return static_cast<int32_t>(sizeof(void*));
    case VM_KIND_FLOAT:
    case VM_KIND_INT: return 4;
    case VM_KIND_BOOLEAN:
    case VM_KIND_BYTE: return 1;
    case VM_KIND_CHAR:
    case VM_KIND_SHORT: return 2;
    case VM_KIND_DOUBLE:
    case VM_KIND_LONG: return 8;
    default: return 0;
  }
}

namespace {
// The element block of every empty array: nothing to allocate or free.
alignas(16) char emptyElements[16];

// The thread making an array class, or null. Making one allocates, and an
// allocation may let other threads run: one of them making the same class
// meanwhile would register its name twice.
VMThread* arrayClassMaker = nullptr;

// Makes the current thread the only maker of array classes while it lives.
class ArrayClassMaking {
 public:
  ArrayClassMaking() : previous_(arrayClassMaker) {
    VMThread* self = _VM_currentThread;
    // The maker gives the global lock up only while it allocates; it has
    // ended when this thread has the lock back and finds no maker.
    while (arrayClassMaker != nullptr && arrayClassMaker != self) VMThread::sleepUninterruptibly(1);
    previous_ = arrayClassMaker;
    arrayClassMaker = self;
  }
  ~ArrayClassMaking() { arrayClassMaker = previous_; }
  ArrayClassMaking(const ArrayClassMaking&) = delete;
  ArrayClassMaking& operator=(const ArrayClassMaking&) = delete;

 private:
  VMThread* previous_;
};
}  // namespace

void* VMArray_Base::emptyData() { return emptyElements; }

void VMArray_Base::allocate(int32_t kind, java::lang::Class* elementClass, int32_t count) {
  _VM_kind = kind;
  _VM_elementClass = elementClass;
  _VM_elementSize = getElementSize(kind);
  const uint64_t bytes = static_cast<uint64_t>(_VM_elementSize) * static_cast<uint64_t>(count);
  // No block can be that large: the request fails like any other that does
  // not fit the heap.
  if (bytes > VM_HEAP_SIZE_MASK) _VM_throwNew<java::lang::OutOfMemoryError>();
  if (bytes == 0) {
    _VM_data = emptyData();
    return;
  }
  void* data = _VM_alloc(static_cast<size_t>(bytes), true);
  std::memset(data, 0, static_cast<size_t>(bytes));
  _VM_data = data;
  length = count;
}

java::lang::Class* _VM_arrayClass(const char* primitiveName, java::lang::Class* elementClass, int32_t dimensions,
                                  int32_t kind) {
  VMCString name;
  if (primitiveName != nullptr) {
    name = primitiveName;
  } else {
    _VM_appendArrayClassName(name, elementClass, dimensions);
  }
  ArrayClassMaking making;
  // Looked up after waiting for another maker, which may have made it.
  if (java::lang::Class* existing = _VM_findClass(name.c_str())) return existing;
  return new java::lang::Class(name.c_str(), "java.lang.Object", "lib_src\\vm\\VMArray", nullptr, nullptr, 0, 0,
                               dimensions, kind, elementClass);
}

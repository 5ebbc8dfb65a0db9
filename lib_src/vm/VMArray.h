#pragma once

// Java arrays. VMArray<T, N> is an array of N dimensions over the element
// type T: a Java primitive type (uint8_t boolean, int8_t byte, char16_t,
// int16_t, int32_t, int64_t, float, double) or a class. Its elements are
//   N == 1, primitive T:   T values
//   N == 1, class T:       T* (plain pointers; the array traces them)
//   N > 1:                 VMArray<T, N - 1>* (rows)
// Every element access is bounds-checked. The element block is separate,
// zero-filled and owned by the array.

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "VMClassKit.h"
#include "VMCollector.h"
#include "VMHeap.h"

bool _VM_isAssignableFrom(java::lang::Class* from, java::lang::Class* to);

[[noreturn]] void _VM_throwArrayIndexOutOfBounds(int32_t index);
[[noreturn]] void _VM_throwNegativeArraySize();
[[noreturn]] void _VM_throwArrayStore();

template <class T>
inline constexpr bool VMIsPrimitive = std::is_arithmetic_v<T> || std::is_same_v<T, char16_t>;

template <class T>
constexpr int32_t _VM_primitiveKind() {
  if constexpr (std::is_same_v<T, uint8_t>) return VM_KIND_BOOLEAN;
  else if constexpr (std::is_same_v<T, char16_t>) return VM_KIND_CHAR;
  else if constexpr (std::is_same_v<T, float>) return VM_KIND_FLOAT;
  else if constexpr (std::is_same_v<T, double>) return VM_KIND_DOUBLE;
  else if constexpr (std::is_same_v<T, int8_t>) return VM_KIND_BYTE;
  else if constexpr (std::is_same_v<T, int16_t>) return VM_KIND_SHORT;
  else if constexpr (std::is_same_v<T, int32_t>) return VM_KIND_INT;
  else if constexpr (std::is_same_v<T, int64_t>) return VM_KIND_LONG;
  else static_assert(!sizeof(T), "not a Java primitive type");
}

// Untyped base of every array: what System.arraycopy, the collector and the
// type tests see.
class VMArray_Base : public virtual java::lang::Object {
 public:
  // Bytes per element of a kind (8 for references, which are pointers).
  static int32_t getElementSize(int32_t kind);

  // Element i as an Object (null for primitive arrays).
  virtual java::lang::Object* getObject(int32_t i) = 0;
  // Stores `value` at i after the array store check (ArrayStoreException
  // for a value of the wrong class); primitive arrays ignore it.
  virtual void setObject(int32_t i, java::lang::Object* value) = 0;

  void _VM_checkIndex(int32_t i) const {
    if (static_cast<uint32_t>(i) >= static_cast<uint32_t>(length)) [[unlikely]] _VM_throwArrayIndexOutOfBounds(i);
  }

  int32_t _VM_kind = 0;
  java::lang::Class* _VM_elementClass = nullptr;
  int32_t length = 0;
  int32_t _VM_elementSize = 0;
  void* _VM_data = nullptr;

 protected:
  VMArray_Base() = default;
  ~VMArray_Base() override {
    if (_VM_data != emptyData()) _VM_free(_VM_data);
  }
  // The shared element block of empty arrays.
  static void* emptyData();
  // Takes the zero-filled element block. `length` is set only once the block
  // exists, so a collection that runs meanwhile sees an empty array.
  void allocate(int32_t kind, java::lang::Class* elementClass, int32_t count);
};

// Creates (or finds) the class of an array type on first use.
java::lang::Class* _VM_arrayClass(const char* primitiveName, java::lang::Class* elementClass, int32_t dimensions,
                                  int32_t kind);

template <class T, int N = 1>
class VMArray;

namespace vm_detail {
template <class T, int N>
struct ArrayElement {
  using type = VMArray<T, N - 1>*;
};
template <class T>
struct ArrayElement<T, 1> {
  using type = std::conditional_t<VMIsPrimitive<T>, T, T*>;
};
template <class T>
const char* primitiveArrayName() {
  switch (_VM_primitiveKind<T>()) {
    case VM_KIND_BOOLEAN: return "[Z";
    case VM_KIND_CHAR: return "[C";
    case VM_KIND_FLOAT: return "[F";
    case VM_KIND_DOUBLE: return "[D";
    case VM_KIND_BYTE: return "[B";
    case VM_KIND_SHORT: return "[S";
    case VM_KIND_INT: return "[I";
    default: return "[J";
  }
}
}  // namespace vm_detail

template <class T, int N>
class VMArray final : public VMArray_Base {
  static_assert(N >= 1);

 public:
  using Element = typename vm_detail::ArrayElement<T, N>::type;
  static constexpr bool kPrimitive = N == 1 && VMIsPrimitive<T>;
  static constexpr bool kCovariantRows = N > 1;

  // new T[length]
  static VMPtr<VMArray> create(int32_t length) {
    if (length < 0) _VM_throwNegativeArraySize();
    VMPtr<VMArray> out(new VMArray());
    // Referenced from here on, so it needs no construction flag while its
    // elements are allocated; a failed allocation leaves an empty array for
    // the collector.
    _VM_endConstruction(out.get());
    out->allocate(kind(), elementClass(), length);
    return out;
  }

  // new T[d0][d1] when count is 2, new T[d0][] when count is 1. Every
  // dimension is checked before anything is allocated.
  static VMPtr<VMArray> createMulti(int32_t count, int32_t d0, int32_t d1 = 0)
    requires(N >= 2)
  {
    if (d0 < 0 || (count >= 2 && d1 < 0)) _VM_throwNegativeArraySize();
    VMPtr<VMArray> out = create(d0);
    if (count >= 2) {
      for (int32_t i = 0; i < d0; ++i) {
        VMPtr<VMArray<T, N - 1>> row = VMArray<T, N - 1>::create(d1);
        out->elements()[i] = row.get();
      }
    }
    return out;
  }

  // The array class of this type, made on first use.
  static java::lang::Class* classObject() {
    if (arrayClass_ == nullptr) {
      if constexpr (kPrimitive) {
        arrayClass_ = _VM_arrayClass(vm_detail::primitiveArrayName<T>(), nullptr, 1, _VM_primitiveKind<T>());
      } else {
        arrayClass_ = _VM_arrayClass(nullptr, elementClass(), N, VM_KIND_REFERENCE);
      }
    }
    return arrayClass_;
  }
  java::lang::Class* _VM_getClass() override { return classObject(); }

  Element* elements() const { return static_cast<Element*>(_VM_data); }

  // Checked element access for primitive arrays: a[i] and a[i] = v.
  Element& at(int32_t i)
    requires kPrimitive
  {
    _VM_checkIndex(i);
    return elements()[i];
  }

  // Checked loads and stores of references (rows of multi-dimensional arrays
  // included).
  VMPtr<std::remove_pointer_t<Element>> get(int32_t i)
    requires(!kPrimitive)
  {
    _VM_checkIndex(i);
    return VMPtr<std::remove_pointer_t<Element>>(elements()[i]);
  }
  template <class U>
  void set(int32_t i, const VMPtr<U>& value)
    requires(!kPrimitive)
  {
    _VM_checkIndex(i);
    elements()[i] = value.get();
  }
  void set(int32_t i, std::nullptr_t)
    requires(!kPrimitive)
  {
    _VM_checkIndex(i);
    elements()[i] = nullptr;
  }

  java::lang::Object* getObject(int32_t i) override {
    _VM_checkIndex(i);
    if constexpr (kPrimitive) {
      return nullptr;
    } else {
      return elements()[i];
    }
  }

  void setObject(int32_t i, java::lang::Object* value) override {
    _VM_checkIndex(i);
    if constexpr (!kPrimitive) {
      if (value == nullptr) {
        elements()[i] = nullptr;
        return;
      }
      auto* typed = dynamic_cast<Element>(value);
      if (typed == nullptr || !_VM_isAssignableFrom(value->_VM_getClass(), elementClass())) _VM_throwArrayStore();
      elements()[i] = typed;
    }
  }

  void _VM_markReferences(int colour) override {
    if constexpr (!kPrimitive) {
      Element* e = elements();
      for (int32_t i = 0; i < length; ++i) {
        if (e[i] != nullptr) _VM_mark(static_cast<java::lang::Object*>(e[i]), colour);
      }
    }
  }

 private:
  VMArray() = default;

  static constexpr int32_t kind() {
    if constexpr (kPrimitive) {
      return _VM_primitiveKind<T>();
    } else {
      return VM_KIND_REFERENCE;
    }
  }

  static java::lang::Class* elementClass() {
    if constexpr (kPrimitive) {
      return nullptr;
    } else if constexpr (N == 1) {
      return T::_VM_class;
    } else {
      return VMArray<T, N - 1>::classObject();
    }
  }

  static inline java::lang::Class* arrayClass_ = nullptr;
};

// Java a.length with the null check.
template <class A>
inline int32_t _VM_length(const VMPtr<A>& a) {
  return a->length;
}

#pragma once

// Java arrays. VMArray<T, N> is an array of N dimensions over the element
// type T: a Java primitive type (uint8_t boolean, int8_t byte, char16_t,
// int16_t, int32_t, int64_t, float, double) or a class. Its elements are
//   N == 1, primitive T:   T values
//   N == 1, class T:       T* (plain pointers; the array traces them)
//   N > 1:                 VMArray<T, N - 1>* (rows)
// Every element access is bounds-checked. The element block is separate,
// zero-filled and owned by the array.
//
// Arrays of references are covariant, as in Java: a String[] is an Object[],
// a Circle[] a Shape[] and an array of every interface Circle implements,
// and a String[][] an Object[][] and an Object[]. Each such Java relation is
// a C++ base: VMArray<T, N> derives virtually from VMArray<S, N> for every
// direct Java supertype S of T, VMArray<Object, N> from VMArray<Object, N-1>,
// and VMArray<Object, 1> from VMArray_Base. So the same object is used
// through every view without a copy, and a C++ cast to an array type
// succeeds exactly when Java's type test does.
//
// The element block keeps the pointer type of the class the array was made
// with (its element tag tells which). A typed access through a view of that
// same type reads and writes the block directly; through any other view it
// goes through getObject/setObject, which convert the pointer and check
// every store against the array's real element class.

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
  // Which VMArray<T, N> made the array: the element block holds that
  // type's element pointers. An integer, so that stores of elements (which
  // may alias any pointer) leave it in a register.
  uintptr_t _VM_elementTag = 0;

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
// A typed access to the element block through a view the array was not made
// with: a fault in the calling code.
[[noreturn]] void _VM_arrayViewMismatch();

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

// Every view of a reference array keeps a copy of the array's length,
// element block and element tag (none of them changes once the array is
// made), so that a typed access reads them at a fixed place in its own view
// instead of finding VMArray_Base through the virtual bases. `length` hides
// VMArray_Base::length, which holds the same value.
#define VM_ARRAY_VIEW_FIELDS \
 public:                     \
  int32_t length = 0;        \
  uintptr_t viewTag = 0;     \
  void* viewData = nullptr;

// What every reference array type derives from: its supertypes' array
// types (virtually), or VMArray_Base itself for Object[].
template <class Bases>
class ArrayView;

template <class... B>
class ArrayView<TypeList<B...>> : public virtual B... {
  VM_ARRAY_VIEW_FIELDS

  // The listed arrays each override the array operations, so this joint
  // restates them as abstract: the array type below it gives the one final
  // overrider.
  java::lang::Object* getObject(int32_t i) override = 0;
  void setObject(int32_t i, java::lang::Object* value) override = 0;
  java::lang::Class* _VM_getClass() override = 0;
  void _VM_markReferences(int colour) override = 0;

  // Copies the array's fields into this view and every view above it.
  void _VM_fillViews(const VMArray_Base& array) {
    length = array.length;
    viewTag = array._VM_elementTag;
    viewData = array._VM_data;
    (static_cast<B*>(this)->_VM_fillViews(array), ...);
  }

 protected:
  ArrayView() = default;
};

template <>
class ArrayView<VMArray_Base> : public VMArray_Base {
  VM_ARRAY_VIEW_FIELDS

  void _VM_fillViews(const VMArray_Base& array) {
    length = array.length;
    viewTag = array._VM_elementTag;
    viewData = array._VM_data;
  }

 protected:
  ArrayView() = default;
};

template <class T, int N>
struct ArrayTypeList;
template <class... S, int N>
struct ArrayTypeList<TypeList<S...>, N> {
  using type = TypeList<VMArray<S, N>...>;
};

// What VMArray<T, N> derives from.
template <class T, int N, bool Primitive = (N == 1 && VMIsPrimitive<T>)>
struct ArrayBases {
  // The arrays of T's direct supertypes (Object[] for an interface or a
  // class without a listed Java base).
  using Supers = typename DirectSupertypes<T>::type;
  using type = ArrayView<typename ArrayTypeList<
      std::conditional_t<std::is_same_v<Supers, TypeList<>>, TypeList<java::lang::Object>, Supers>, N>::type>;
};
template <class T>
struct ArrayBases<T, 1, true> {
  using type = VMArray_Base;
};
// int[][] is an Object[] (its rows are objects) but no Object[][].
template <class T, int N>
  requires(VMIsPrimitive<T> && N >= 2)
struct ArrayBases<T, N, false> {
  using type = ArrayView<TypeList<VMArray<java::lang::Object, N - 1>>>;
};
template <int N>
struct ArrayBases<java::lang::Object, N, false> {
  using type = std::conditional_t<N == 1, ArrayView<VMArray_Base>, ArrayView<TypeList<VMArray<java::lang::Object, N - 1>>>>;
};
#undef VM_ARRAY_VIEW_FIELDS
}  // namespace vm_detail

template <class T, int N>
class VMArray : public vm_detail::ArrayBases<T, N>::type {
  static_assert(N >= 1);

 public:
  using Element = typename vm_detail::ArrayElement<T, N>::type;
  using Target = std::remove_pointer_t<Element>;
  static constexpr bool kPrimitive = N == 1 && VMIsPrimitive<T>;
  // No array type lies below this one (a final element class, or primitive
  // rows): every array seen through it was made as it, so typed access
  // needs no check of the element tag.
  static constexpr bool kExact = VMIsPrimitive<T> || std::is_final_v<T>;

  // new T[length]
  static VMPtr<VMArray> create(int32_t length) {
    if (length < 0) _VM_throwNegativeArraySize();
    VMPtr<VMArray> out(new VMArray());
    // Referenced from here on, so it needs no construction flag while its
    // elements are allocated; a failed allocation leaves an empty array for
    // the collector.
    _VM_endConstruction(out.get());
    VMArray_Base* base = out.get();
    base->_VM_elementTag = tag();
    out->allocate(kind(), elementClass(), length);
    if constexpr (!kPrimitive) out->_VM_fillViews(*base);
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

  // The element block. For an array of references only on an array made as
  // this very type (a new T[n] of one's own): any other view is a fault.
  Element* elements() const {
    if constexpr (kPrimitive) {
      return static_cast<Element*>(this->_VM_data);
    } else {
      if (this->viewTag != tag()) [[unlikely]] _VM_arrayViewMismatch();
      return static_cast<Element*>(this->viewData);
    }
  }

  // Checked element access for primitive arrays: a[i] and a[i] = v.
  Element& at(int32_t i)
    requires kPrimitive
  {
    this->_VM_checkIndex(i);
    return static_cast<Element*>(this->_VM_data)[i];
  }

  // Checked loads and stores of references (rows of multi-dimensional arrays
  // included). Through the type the array was made with they use the
  // element block directly; through a supertype's view they convert and
  // check through getObject and setObject.
  VMPtr<Target> get(int32_t i)
    requires(!kPrimitive)
  {
    checkViewIndex(i);
    Element e = kExact || this->viewTag == tag() ? static_cast<Element*>(this->viewData)[i] : getConverted(i);
    return VMPtr<Target>(e);
  }
  template <class U>
  void set(int32_t i, const VMPtr<U>& value)
    requires(!kPrimitive && std::is_convertible_v<U*, Element>)
  {
    checkViewIndex(i);
    Element typed = value.get();
    if (kExact || this->viewTag == tag()) [[likely]] {
      // A value of this element type always fits an array made of it.
      static_cast<Element*>(this->viewData)[i] = typed;
    } else {
      setChecked(i, typed);
    }
  }
  void set(int32_t i, std::nullptr_t)
    requires(!kPrimitive)
  {
    checkViewIndex(i);
    // Null fits every array, and every slot of a reference array is a pointer.
    if (kExact || this->viewTag == tag()) [[likely]] {
      static_cast<Element*>(this->viewData)[i] = nullptr;
    } else {
      setChecked(i, nullptr);
    }
  }

  // The untyped access. These run on the array's own (most derived) type,
  // so the element block holds Element pointers.
  java::lang::Object* getObject(int32_t i) override {
    const VMArray_Base* base = this;
    base->_VM_checkIndex(i);
    if constexpr (kPrimitive) {
      return nullptr;
    } else {
      return static_cast<Element*>(base->_VM_data)[i];
    }
  }

  void setObject(int32_t i, java::lang::Object* value) override {
    const VMArray_Base* base = this;
    base->_VM_checkIndex(i);
    if constexpr (!kPrimitive) {
      Element* slots = static_cast<Element*>(base->_VM_data);
      if (value == nullptr) {
        slots[i] = nullptr;
        return;
      }
      auto* typed = dynamic_cast<Element>(value);
      if (typed == nullptr || !_VM_isAssignableFrom(value->_VM_getClass(), elementClass())) _VM_throwArrayStore();
      slots[i] = typed;
    }
  }

  void _VM_markReferences(int colour) override {
    if constexpr (!kPrimitive) {
      const VMArray_Base* base = this;
      Element* e = static_cast<Element*>(base->_VM_data);
      const int32_t n = base->length;
      for (int32_t i = 0; i < n; ++i) {
        if (e[i] != nullptr) _VM_mark(static_cast<java::lang::Object*>(e[i]), colour);
      }
    }
  }

 protected:
  VMArray() = default;

 private:
  template <class, int>
  friend class VMArray;

  // One address per array type: the element tag of arrays made as it.
  static uintptr_t tag() { return reinterpret_cast<uintptr_t>(&tag_); }
  static constexpr char tag_ = 0;

  void checkViewIndex(int32_t i) const {
    if (static_cast<uint32_t>(i) >= static_cast<uint32_t>(this->length)) [[unlikely]] {
      _VM_throwArrayIndexOutOfBounds(i);
    }
  }

  // The element of an array of a subtype, converted through Object. Every
  // element of such an array is a Target, so the cast cannot fail.
  [[gnu::noinline, gnu::cold]] Element getConverted(int32_t i) {
    return dynamic_cast<Element>(static_cast<VMArray_Base*>(this)->getObject(i));
  }
  // A store into an array of a subtype: checked against its element class.
  [[gnu::noinline, gnu::cold]] void setChecked(int32_t i, java::lang::Object* value) {
    static_cast<VMArray_Base*>(this)->setObject(i, value);
  }

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

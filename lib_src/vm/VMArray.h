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
// with. A typed access through the view of that same type reads and writes
// the block directly. Through any other view a load converts the pointer to
// the view's element type, and a store converts it back to the array's
// element type, which fails (ArrayStoreException) for a value of another
// class: every store is checked against the array's real element class.
//
// A typed access to an array of a class that has subclasses (Object[] above
// all) must cost what it did before arrays were covariant, although its
// view has to be checked: so the check is the bounds check itself (the view
// of another type has no elements it may use directly), and the converting
// road never looks like a call to the compiler. A call anywhere in a loop
// makes it reload the array, its fields and the caller's references after
// every element; on x86-64 with g++ the converters are entered from inline
// assembly that names what they change: the result and nothing in memory.

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

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(_WIN32)
#define VM_ARRAY_QUIET_CONVERSION 1
// A converter keeps every general register but its result and uses no
// vector register of its own, so a typed access may enter it from assembly
// that leaves the caller's values where they are (convertQuietly).
#define VM_ARRAY_CONVERTER [[gnu::no_caller_saved_registers, gnu::target("general-regs-only")]]
#else
#define VM_ARRAY_QUIET_CONVERSION 0
#define VM_ARRAY_CONVERTER
#endif

// An element of an array made with elements `From`, as the element type
// `To` of one of its views.
template <class From, class To>
VM_ARRAY_CONVERTER void* upcastElement(void* element) noexcept {
  return static_cast<To>(static_cast<From>(element));
}
// A value of a view's element type `From` as the element type `To` of the
// array, or null when it is none.
template <class From, class To>
VM_ARRAY_CONVERTER void* downcastElement(void* value) noexcept {
  return dynamic_cast<To>(static_cast<From>(value));
}
#undef VM_ARRAY_CONVERTER

// The two converters of a view (of element type View) of an array made with
// elements Made.
struct ViewConverters {
  void* (*load)(void*) noexcept;
  void* (*store)(void*) noexcept;
};
template <class Made, class View>
inline constexpr ViewConverters viewConverters{&upcastElement<Made, View>, &downcastElement<View, Made>};

// convert(value). On x86-64 with g++ the compiler sees no call: the
// converter keeps the general registers, the stack moves past the caller's
// red zone and is aligned (its old place kept in r11), and only the vector
// and x87 registers count as changed. A converter reads no memory but the
// value's class tables, which are complete before Java code can see the
// object, and throws nothing (a backtrace taken inside it may not reach
// past it).
[[gnu::always_inline]] inline void* convertQuietly(void* (*convert)(void*) noexcept, void* value) {
#if VM_ARRAY_QUIET_CONVERSION
  void* out;
  asm("movq %%rsp, %%r11\n\t"
      "leaq -128(%%rsp), %%rsp\n\t"
      "andq $-16, %%rsp\n\t"
      "call *%[convert]\n\t"
      "movq %%r11, %%rsp"
      : "=a"(out)
      : "D"(value), [convert] "r"(convert)
      : "r11", "cc", "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8", "xmm9", "xmm10",
        "xmm11", "xmm12", "xmm13", "xmm14", "xmm15",
#ifdef __AVX512F__
        "xmm16", "xmm17", "xmm18", "xmm19", "xmm20", "xmm21", "xmm22", "xmm23", "xmm24", "xmm25", "xmm26", "xmm27",
        "xmm28", "xmm29", "xmm30", "xmm31", "k0", "k1", "k2", "k3", "k4", "k5", "k6", "k7",
#endif
        "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
  return out;
#else
  return convert(value);
#endif
}

// Every view of a reference array keeps a copy of the array's length and
// element block (neither changes once the array is made), so that a typed
// access reads them at a fixed place in its own view instead of finding
// VMArray_Base through the virtual bases. `directLength` is the length in
// the view of the type the array was made with and 0 in every other, so the
// bounds check of a typed access also tells whether it may use the block;
// `viewConverters` convert between the block's and the view's element type.
// `length` hides VMArray_Base::length, which holds the same value.
#define VM_ARRAY_VIEW_FIELDS                                                                    \
 public:                                                                                        \
  int32_t length = 0;                                                                           \
  int32_t directLength = 0;                                                                     \
  void* viewData = nullptr;                                                                     \
  const ViewConverters* viewConverters = nullptr;                                               \
                                                                                                \
 protected:                                                                                     \
  /* Fills this view, the one of the array type View, of an array made as Made. */              \
  template <class Made, class View>                                                             \
  void fillView(const VMArray_Base& array) {                                                    \
    length = array.length;                                                                      \
    directLength = std::is_same_v<Made, View> ? array.length : 0;                               \
    viewData = array._VM_data;                                                                  \
    viewConverters = &vm_detail::viewConverters<typename Made::Element, typename View::Element>;\
  }                                                                                             \
                                                                                                \
 public:

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

  // Fills this view (of the array type View) and every view above it.
  template <class Made, class View>
  void fillViews(const VMArray_Base& array) {
    fillView<Made, View>(array);
    (static_cast<B*>(this)->template _VM_fillViews<Made>(array), ...);
  }

 protected:
  ArrayView() = default;
};

template <>
class ArrayView<VMArray_Base> : public VMArray_Base {
  VM_ARRAY_VIEW_FIELDS

  template <class Made, class View>
  void fillViews(const VMArray_Base& array) {
    fillView<Made, View>(array);
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
    out->allocate(kind(), elementClass(), length);
    if constexpr (!kPrimitive) out->template _VM_fillViews<VMArray>(*base);
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

  // Copies the length and the element block of an array made as Made into
  // every view of it.
  template <class Made>
  void _VM_fillViews(const VMArray_Base& array)
    requires(!kPrimitive)
  {
    this->template fillViews<Made, VMArray>(array);
  }

  // The element block. For an array of references only on an array made as
  // this very type (a new T[n] of one's own): any other view is a fault.
  Element* elements() const {
    if constexpr (kPrimitive) {
      return static_cast<Element*>(this->_VM_data);
    } else {
      if (this->directLength != this->length) [[unlikely]] _VM_arrayViewMismatch();
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
    Element e;
    if (isDirect(i)) [[likely]] {
      e = static_cast<Element*>(this->viewData)[i];
    } else {
      checkViewIndex(i);
      e = converted(i);
    }
    // Made only here, from a plain pointer, so that no scoped reference
    // lives across the converting road.
    return VMPtr<Target>(e);
  }
  template <class U>
  void set(int32_t i, const VMPtr<U>& value)
    requires(!kPrimitive && std::is_convertible_v<U*, Element>)
  {
    store(i, value.get());
  }
  void set(int32_t i, std::nullptr_t)
    requires(!kPrimitive)
  {
    // Null fits every array, and every slot of a reference array is a pointer.
    store(i, nullptr);
  }

  // The untyped access. These run on the array's own (most derived) type,
  // whose view holds the length and the block of Element pointers.
  java::lang::Object* getObject(int32_t i) override {
    if constexpr (kPrimitive) {
      this->_VM_checkIndex(i);
      return nullptr;
    } else {
      checkViewIndex(i);
      return static_cast<Element*>(this->viewData)[i];
    }
  }

  void setObject(int32_t i, java::lang::Object* value) override {
    if constexpr (kPrimitive) {
      this->_VM_checkIndex(i);
    } else {
      checkViewIndex(i);
      Element* slots = static_cast<Element*>(this->viewData);
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

  void checkViewIndex(int32_t i) const {
    if (static_cast<uint32_t>(i) >= static_cast<uint32_t>(this->length)) [[unlikely]] {
      _VM_throwArrayIndexOutOfBounds(i);
    }
  }

  // Whether element i is in bounds and may be used in the block directly:
  // one compare, false for every i in a view of another type than the one
  // the array was made with (there is none when kExact).
  bool isDirect(int32_t i) const {
    return static_cast<uint32_t>(i) < static_cast<uint32_t>(kExact ? this->length : this->directLength);
  }

  // Stores after the bounds check; a store through the view of a supertype
  // is checked against the array's element class.
  void store(int32_t i, Element typed) {
    if (isDirect(i)) [[likely]] {
      // A value of this element type always fits an array made of it.
      static_cast<Element*>(this->viewData)[i] = typed;
    } else {
      checkViewIndex(i);
      storeConverted(i, typed);
    }
  }

  // The address of slot i (in bounds) of an array made with elements of a
  // subtype: it holds a pointer of that type.
  char* slot(int32_t i) const { return static_cast<char*>(this->viewData) + sizeof(void*) * static_cast<uint32_t>(i); }

  // Element i of an array made with elements of a subtype, converted by the
  // view's converter.
  Element converted(int32_t i) {
    void* element;
    std::memcpy(&element, slot(i), sizeof(void*));
    return static_cast<Element>(vm_detail::convertQuietly(this->viewConverters->load, element));
  }

  // Stores `value` at i of an array made with elements of a subtype, as that
  // type, or fails when it is not one.
  void storeConverted(int32_t i, Element value) {
    void* typed = vm_detail::convertQuietly(this->viewConverters->store, value);
    if (typed == nullptr && value != nullptr) [[unlikely]] {
#ifdef VM_KIT_HAS_DIRECT_BASES
      // The C++ bases are the Java supertypes: the value's class is not
      // assignable to the array's element class.
      _VM_throwArrayStore();
#else
      // Arrays here are covariant to Object[] only, so a C++ cast can fail
      // where Java's type test passes: the untyped store decides.
      setChecked(i, value);
      return;
#endif
    }
    std::memcpy(slot(i), &typed, sizeof(void*));
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

#pragma once

// The class kit: everything a Java class needs besides its own members.
// docs/class-kit.md shows a complete class written with it.

#include <type_traits>
#include <typeinfo>

#include "VMClassMacros.h"
#include "VMClassRegistry.h"
#include "VMException.h"
#include "VMObject.h"
#include "VMRef.h"
#include "java_lang_Class.h"

namespace vm_detail {

// A Java class or interface declares its own class object (VM_CLASS and
// friends, and java.lang.Object); a C++ helper base such as VMException
// only inherits one.
template <class B>
concept JavaType = requires { typename B::_VM_Self; } && std::is_same_v<typename B::_VM_Self, B>;

template <class... B>
struct TypeList {};

#if defined(__GNUC__) && !defined(__clang__)
#define VM_KIT_HAS_DIRECT_BASES 1
template <class List, class... B>
struct FilterJava;
// Appends B when it is a Java type, else the Java types among B's own bases
// (a C++ helper in between is looked through).
template <class List, class B>
struct AddJava {
  using type = typename FilterJava<List, __direct_bases(B)...>::type;
};
template <class... A, class B>
  requires JavaType<B>
struct AddJava<TypeList<A...>, B> {
  using type = TypeList<A..., B>;
};
template <class List, class... B>
struct FilterJava {
  using type = List;
};
template <class List, class B, class... Rest>
struct FilterJava<List, B, Rest...> {
  using type = typename FilterJava<typename AddJava<List, B>::type, Rest...>::type;
};

// The direct Java supertypes of T (superclass and interfaces), read from
// its C++ bases (g++ lists them).
template <class T>
struct DirectSupertypes {
  using type = typename FilterJava<TypeList<>, __direct_bases(T)...>::type;
};
#else
// Elsewhere (clang, which builds only the fuzz targets) only
// java.lang.Object: arrays are then covariant to Object[] only (see
// docs/runtime.md).
template <class T>
struct DirectSupertypes {
  using type = TypeList<java::lang::Object>;
};
#endif

// Whether Super is the superclass that X's C++ bases give: the one Java
// class among them, or java.lang.Object when there is none.
template <class X, class Super, class List = typename DirectSupertypes<X>::type>
struct IsSuperclass;
template <class X, class Super, class... B>
struct IsSuperclass<X, Super, TypeList<B...>> {
  static constexpr int kClasses =
      (0 + ... + int(!B::_VM_isInterfaceType && !std::is_same_v<B, java::lang::Object>));
  static constexpr bool kIsClass = !Super::_VM_isInterfaceType && !std::is_same_v<Super, java::lang::Object>;
  static constexpr bool value = kIsClass ? (kClasses == 1 && (false || ... || std::is_same_v<B, Super>))
                                         : (std::is_same_v<Super, java::lang::Object> && kClasses == 0);
};

// Whether X was declared with VM_CLASS(X, Super) (not only inheriting its
// superclass's Base).
template <class X>
constexpr bool baseGiven() {
  if constexpr (requires { typename X::_VM_BaseOwner; }) {
    return std::is_same_v<typename X::_VM_BaseOwner, X>;
  } else {
    return false;
  }
}
template <class X>
inline constexpr bool kBaseGiven = baseGiven<X>();

}  // namespace vm_detail

// Makes, registers and pins a class object (used by _VM_makeClass).
java::lang::Class* _VM_createClassObject(const char* name, const char* superName, const char* sourceFile,
                                         void (*clinit)(), VMInstantiator instantiator, uint8_t isInterface,
                                         uint8_t isAbstract, const std::type_info* type);

// new X: class initialisation check, zero-filled allocation, the native
// constructor, then the object is referenced and its construction ends.
template <class X>
VMPtr<X> _VM_newObject() {
  X::_VM_clinitCheck();
  VMPtr<X> out(new X());
  _VM_endConstruction(out.get());
  return out;
}

// Class.newInstance of X: new X, then the Java no-argument constructor.
template <class X>
VMPtr<java::lang::Object> _VM_instantiate() {
  VMPtr<X> object = X::_VM_new();
  object->_VM_init();
  return object;
}

template <class X, unsigned Flags>
java::lang::Class* _VM_makeClass(const char* name, const char* superName, const char* sourceFile) {
  static_assert(std::is_same_v<typename X::_VM_Self, X>,
                "a registered class declares its own class object (VM_CLASS, VM_THROWABLE_CLASS or VM_INTERFACE_CLASS)");
  static_assert(((Flags & VM_INTERFACE) != 0) == X::_VM_isInterfaceType,
                "VM_INTERFACE is given exactly to the classes declared with VM_INTERFACE_CLASS");
  if constexpr (vm_detail::kBaseGiven<X>) {
    using Base = typename X::Base;
    static_assert(std::is_base_of_v<Base, X> && !Base::_VM_isInterfaceType,
                  "the Base given to VM_CLASS is a class that X derives from");
#ifdef VM_KIT_HAS_DIRECT_BASES
    static_assert(vm_detail::IsSuperclass<X, Base>::value,
                  "X::Base is X's superclass (the one Java class among its C++ bases)");
#endif
  }
  void (*clinit)() = nullptr;
  if constexpr ((Flags & VM_HAS_CLINIT) != 0) clinit = &X::_VM_clinit;
  VMInstantiator instantiator = nullptr;
  if constexpr ((Flags & VM_INSTANTIABLE) != 0) instantiator = &_VM_instantiate<X>;
  return _VM_createClassObject(name, superName, sourceFile, clinit, instantiator,
                               (Flags & VM_INTERFACE) != 0, (Flags & VM_ABSTRACT) != 0, &typeid(X));
}

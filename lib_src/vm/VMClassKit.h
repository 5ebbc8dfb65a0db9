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
  void (*clinit)() = nullptr;
  if constexpr ((Flags & VM_HAS_CLINIT) != 0) clinit = &X::_VM_clinit;
  VMInstantiator instantiator = nullptr;
  if constexpr ((Flags & VM_INSTANTIABLE) != 0) instantiator = &_VM_instantiate<X>;
  return _VM_createClassObject(name, superName, sourceFile, clinit, instantiator,
                               (Flags & VM_INTERFACE) != 0, (Flags & VM_ABSTRACT) != 0, &typeid(X));
}

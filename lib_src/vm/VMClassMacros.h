#pragma once

// The declaration half of the class kit: what every Java class repeats.
// See docs/class-kit.md for how a class is written with it.

#include <cstdint>

namespace java::lang {
class Class;
class Object;
}

// Registration flags.
constexpr unsigned VM_INSTANTIABLE = 1;  // Class.newInstance may build it (public no-argument constructor)
constexpr unsigned VM_ABSTRACT = 2;
constexpr unsigned VM_INTERFACE = 4;
constexpr unsigned VM_HAS_CLINIT = 8;    // the class defines static void _VM_clinit()

// Runs the class's static initialiser unless the class is ready.
void _VM_ensureInitialized(java::lang::Class* c);
// Whether the class is initialised (java::lang::Class::State kReady).
inline bool _VM_classReady(const java::lang::Class* c);
template <class T> class VMPtr;
template <class X> VMPtr<X> _VM_newObject();
// Roots a thrown object until a handler binds it.
void _VM_setExceptionInFlight(java::lang::Object* thrown);

// What classes and interfaces share: the class object, its creation and the
// static initialisation check. Leaves the body in private access.
#define VM_CLASS_OBJECT(X)                                                              \
 public:                                                                                \
  using _VM_Self = X;                                                                   \
  static java::lang::Class* _VM_class;                                                  \
  static java::lang::Class* _VM_createClass();                                          \
  static void _VM_clinitCheck() {                                                       \
    if (!_VM_classReady(_VM_class)) [[unlikely]] _VM_ensureInitialized(_VM_class);      \
  }                                                                                     \
                                                                                        \
 private:

// Picks the macro for one or two arguments.
#define VM_KIT_PICK(_1, _2, NAME, ...) NAME

// The members every class has. Put it first in the class body; it leaves
// the class body in private access.
//   VM_CLASS(X, Super)   Super is X's Java superclass (java::lang::Object
//                        for a class that extends nothing); it becomes the
//                        alias X::Base, checked against X's C++ bases when
//                        X is registered. There is no form without Super:
//                        a class that named none would see its superclass's
//                        Base, and Base::_VM_init() would skip a constructor.
//   _VM_class          the class object, made at start-up
//   _VM_createClass()  makes and registers the class object
//   _VM_clinitCheck()  call before every use of a static member
//   _VM_new()          new X: allocation and the native constructor
#define VM_CLASS(...) VM_KIT_PICK(__VA_ARGS__, VM_CLASS_WITH_BASE, VM_CLASS_WITHOUT_SUPER, )(__VA_ARGS__)
#define VM_CLASS_WITHOUT_SUPER(X) \
  static_assert(false, "VM_CLASS names the superclass: VM_CLASS(" #X ", Super), java::lang::Object if none");
#define VM_CLASS_WITH_BASE(X, Super)                               \
  VM_CLASS_OBJECT(X)                                               \
 public:                                                           \
  using Base = Super;                                              \
  static constexpr bool _VM_isInterfaceType = false;               \
  java::lang::Class* _VM_getClass() override { return _VM_class; } \
  template <class Self = X>                                        \
  static VMPtr<Self> _VM_new() {                                   \
    return _VM_newObject<Self>();                                  \
  }                                                                \
                                                                   \
 private:

// An interface: a class object and the static check, nothing else (the
// implementing class supplies getClass).
#define VM_INTERFACE_CLASS(X)                         \
  VM_CLASS_OBJECT(X)                                  \
 public:                                              \
  static constexpr bool _VM_isInterfaceType = true;   \
                                                      \
 private:

// A throwable class, VM_THROWABLE_CLASS(X, Super): VM_CLASS plus a throw
// that carries the object's own class, so that a Java catch clause matches
// by run-time class.
#define VM_THROWABLE_CLASS(...)                 \
  VM_CLASS(__VA_ARGS__)                         \
 public:                                        \
  [[noreturn]] void _VM_throw() override {      \
    _VM_setExceptionInFlight(this);             \
    throw this;                                 \
  }                                             \
                                                \
 private:

// An exception class with Java's two standard constructors, X() and
// X(String message), each running Super's constructor of the same form:
//   class QuotaException : public java::io::IOException {
//     VM_EXCEPTION_CLASS(QuotaException, java::io::IOException)
//   };
// plus VM_REGISTER_CLASS in its .cpp file. More constructors or methods may
// follow in the class body.
#define VM_EXCEPTION_CLASS(X, Super)                                                     \
  VM_THROWABLE_CLASS(X, Super)                                                           \
 public:                                                                                 \
  VMPtr<X> _VM_init() { return _VM_initThrowable<X, Super>(this); }                      \
  VMPtr<X> _VM_init(VMPtr<java::lang::String> message) {                                 \
    return _VM_initThrowable<X, Super>(this, message);                                   \
  }                                                                                      \
                                                                                         \
 private:

// Body of the standard constructors: the superclass's, then the object.
template <class X, class Super, class... A>
VMPtr<X> _VM_initThrowable(X* self, A... args) {
  self->Super::_VM_init(args...);
  return VMPtr<X>(self);
}

// Names of the registration records: __COUNTER__ keeps them apart when a
// unity build puts several class files into one translation unit.
#define VM_KIT_CONCAT2(a, b) a##b
#define VM_KIT_CONCAT(a, b) VM_KIT_CONCAT2(a, b)

// The registration half, once per class in its .cpp file:
//   VM_REGISTER_CLASS(java::lang::Thread, "java.lang.Thread", "java.lang.Object", VM_INSTANTIABLE)
// The class object is made at start-up, in the order of the start-up list.
#define VM_REGISTER_CLASS(X, name, superName, flags)                                     \
  java::lang::Class* X::_VM_class = nullptr;                                             \
  java::lang::Class* X::_VM_createClass() {                                              \
    return X::_VM_class = _VM_makeClass<X, (flags)>(name, superName, __FILE__);          \
  }                                                                                      \
  static VMClassCreatorRecord VM_KIT_CONCAT(_VM_classCreator_, __COUNTER__)(&X::_VM_createClass)

// Makes `function` (void(intptr_t)) the boot entry of class X: the VM calls
// it at the end of its start-up when X is the boot class.
#define VM_REGISTER_ENTRY_POINT(X, function) \
  static VMEntryPointRecord VM_KIT_CONCAT(_VM_entryPoint_, __COUNTER__)(&X::_VM_class, function)

// Declares that class X implements the named interface.
#define VM_IMPLEMENTS(X, interfaceName) \
  static VMInterfaceRecord VM_KIT_CONCAT(_VM_interface_, __COUNTER__)(&X::_VM_class, interfaceName)

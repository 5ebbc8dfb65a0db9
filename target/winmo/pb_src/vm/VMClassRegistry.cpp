#include "VMClassRegistry.h"

#include <cxxabi.h>

#include <cstdio>
#include <new>

#include "VMClassKit.h"
#include "VMHeap.h"
#include "VMMonitor.h"
#include "VMServices.h"
#include "VMSynchronized.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_Error.h"
#include "java_lang_ExceptionInInitializerError.h"
#include "java_lang_NoClassDefFoundError.h"
#include "java_lang_Throwable.h"

using java::lang::Class;

namespace {

// FIFO start-up lists; zero-initialised before any static initialiser runs.
template <class Record>
struct StartupList {
  Record* head;
  Record* tail;
  void add(Record* r) {
    if (tail != nullptr) {
      tail->next = r;
    } else {
      head = r;
    }
    tail = r;
  }
};

constinit StartupList<VMClassCreatorRecord> creators{};
constinit StartupList<VMInterfaceRecord> interfaceRecords{};
constinit StartupList<VMEntryPointRecord> entryPoints{};

uintptr_t currentThreadWord() { return reinterpret_cast<uintptr_t>(_VM_currentThread); }

void finishInitialization(Class* c, int32_t state) {
  VMSynchronized monitor(c);
  c->_VM_state = state;
  c->_VM_initThread = 0;
  c->notifyAll();
}

}  // namespace

VMClassCreatorRecord::VMClassCreatorRecord(Class* (*create)()) : create(create) { creators.add(this); }

VMInterfaceRecord::VMInterfaceRecord(Class** classGlobal, const char* interfaceName)
    : classGlobal(classGlobal), interfaceName(interfaceName) {
  interfaceRecords.add(this);
}

VMEntryPointRecord::VMEntryPointRecord(Class** classGlobal, VMEntryPoint entry)
    : classGlobal(classGlobal), entry(entry) {
  entryPoints.add(this);
}

VMClassRegistry* _VM_getClassRegistry() {
  // Made once and kept for the life of the process: class objects never die.
  static VMClassRegistry* registry = new (_VM_operatorNew(sizeof(VMClassRegistry))) VMClassRegistry();
  return registry;
}

void _VM_registerClass(const char* name, Class* c) {
  if (VMCString(name).equals("_VM_bad_array")) _VM_fatalError("Attempt to use invalid type with a java array!");
  VMClassRegistry* registry = _VM_getClassRegistry();
  if (registry->classes.get(name, nullptr)) _VM_fatalError("Duplicate class detected!");
  registry->classes.put(name, c);
}

Class* _VM_findClass(const char* name) {
  void* value = nullptr;
  return _VM_getClassRegistry()->classes.get(name, &value) ? static_cast<Class*>(value) : nullptr;
}

Class* _VM_getObjectClass() {
  VMClassRegistry* registry = _VM_getClassRegistry();
  if (registry->objectClass == nullptr) registry->objectClass = _VM_findClass("java.lang.Object");
  return registry->objectClass;
}

Class* _VM_getSuperclass(Class* c) {
  VMClassRegistry* registry = _VM_getClassRegistry();
  if (registry->classesResolved && c->_VM_superResolved) return c->_VM_superclass;
  Class* super = c->_VM_superName.length() > 0 ? _VM_findClass(c->_VM_superName.c_str()) : nullptr;
  if (super != nullptr || registry->classesResolved) {
    c->_VM_superclass = super;
    c->_VM_superResolved = 1;
  }
  return super;
}

void _VM_setClassesResolved() { _VM_getClassRegistry()->classesResolved = 1; }

void _VM_registerInterface(Class* c, const char* interfaceName) {
  if (interfaceName == nullptr) return;
  Class* interface = _VM_findClass(interfaceName);
  if (interface == nullptr) _VM_fatalError("Class for interface not found in _VM_registerInterface()!");
  c->_VM_interfaces.addLast(interface);
}

bool _VM_implementsInterface(Class* c, Class* interface) {
  if (c == interface) return true;
  Class* objectClass = _VM_getObjectClass();
  for (Class* k = c; k != nullptr && k != objectClass; k = _VM_getSuperclass(k)) {
    for (HALListNode* n = k->_VM_interfaces.getFirst(); n != nullptr; n = n->next) {
      if (_VM_implementsInterface(static_cast<Class*>(n->value), interface)) return true;
    }
  }
  return false;
}

bool _VM_isAssignableFrom(Class* from, Class* to) {
  if (from == to || to == _VM_getObjectClass()) return true;
  if (to->_VM_dimensions > 0) {
    if (from->_VM_dimensions == 0) return false;
    Class* fromElement = from->_VM_elementClass;
    Class* toElement = to->_VM_elementClass;
    // A primitive element type is assignable only to the same primitive
    // element type: int[] is not an Object[].
    if ((fromElement == nullptr) != (toElement == nullptr)) return false;
    if (fromElement == nullptr) return from->_VM_elementKind == to->_VM_elementKind;
    return _VM_isAssignableFrom(fromElement, toElement);
  }
  if (to->_VM_isInterface) return from->_VM_dimensions == 0 && _VM_implementsInterface(from, to);
  if (from->_VM_dimensions > 0 || from->_VM_isInterface) return false;
  Class* objectClass = _VM_getObjectClass();
  for (Class* k = from; k != nullptr && k != objectClass; k = _VM_getSuperclass(k)) {
    if (k == to) return true;
  }
  return false;
}

bool _VM_instanceOf(java::lang::Object* object, Class* c) {
  return object != nullptr && _VM_isAssignableFrom(object->_VM_getClass(), c);
}

void _VM_appendArrayClassName(VMCString& name, Class* elementClass, int32_t dimensions) {
  for (int32_t i = elementClass->_VM_dimensions; i < dimensions; ++i) name.append("[");
  if (elementClass->_VM_dimensions == 0) {
    name.append("L");
    name.append(elementClass->_VM_name.c_str());
    name.append(";");
  } else {
    name.append(elementClass->_VM_name.c_str());
  }
}

void _VM_ensureInitialized(Class* c) {
  if (c->_VM_state == Class::kReady) return;
  if (c->_VM_state == Class::kFailed) _VM_throwNew<java::lang::NoClassDefFoundError>();
  _VM_initializeClass(c);
}

void _VM_initializeClass(Class* c) {
  const uintptr_t self = currentThreadWord();
  {
    VMSynchronized monitor(c);
    // Another thread initialises the class: wait until it has finished. An
    // interrupt does not fail the initialisation; it stays pending.
    while (c->_VM_initThread != 0 && c->_VM_initThread != self) _VM_waitUninterruptibly(c);
    if (c->_VM_state == Class::kRunning && c->_VM_initThread == self) return;  // recursive request
    if (c->_VM_state == Class::kReady) return;
    if (c->_VM_state == Class::kFailed) {
      _VM_throwNew<java::lang::NoClassDefFoundError>(c->_VM_name.c_str());
    }
    c->_VM_state = Class::kRunning;
    c->_VM_initThread = self;
  }
  try {
    if (!c->_VM_isInterface) {
      Class* super = _VM_getSuperclass(c);
      if (super != nullptr && super->_VM_state != Class::kReady) _VM_ensureInitialized(super);
    }
    if (c->_VM_clinit != nullptr) c->_VM_clinit();
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> thrown(t);
    finishInitialization(c, Class::kFailed);
    if (!_VM_instanceOf(t, java::lang::Error::_VM_class)) {
      VMPtr<java::lang::ExceptionInInitializerError> wrapper = java::lang::ExceptionInInitializerError::_VM_new();
      wrapper->_VM_init(thrown);
      thrown = wrapper;
    }
    _VM_throw(thrown);
  } catch (...) {
    // Not a Java throwable (the exit carrier): the class still fails, and
    // the object goes on unchanged.
    finishInitialization(c, Class::kFailed);
    throw;
  }
  finishInitialization(c, Class::kReady);
}

void _VM_createClasses() {
  for (VMClassCreatorRecord* r = creators.head; r != nullptr; r = r->next) r->made = r->create();
}

void _VM_registerInterfaces() {
  for (VMInterfaceRecord* r = interfaceRecords.head; r != nullptr; r = r->next) {
    _VM_registerInterface(*r->classGlobal, r->interfaceName);
  }
}

void _VM_registerEntryPoints() {
  for (VMEntryPointRecord* r = entryPoints.head; r != nullptr; r = r->next) {
    (*r->classGlobal)->_VM_setEntryPoint(r->entry);
  }
}

namespace {

// The registered classes by their C++ class. Without allocating anything
// (the heap may be tiny): one type has one type_info object in this
// program, so a scan for the same object finds it; a scan by name follows
// only for a type not found so (a C++ helper that is no Java class).
class ClassesByType {
 public:
  Class* find(const std::type_info* type) const {
    for (VMClassCreatorRecord* r = creators.head; r != nullptr; r = r->next) {
      if (r->made != nullptr && r->made->_VM_type == type) return r->made;
    }
    for (VMClassCreatorRecord* r = creators.head; r != nullptr; r = r->next) {
      if (r->made != nullptr && r->made->_VM_type != nullptr && *r->made->_VM_type == *type) return r->made;
    }
    return nullptr;
  }
};

// Calls f(base type) for each direct C++ base of `type`.
template <class F>
void forEachDirectBase(const std::type_info* type, F&& f) {
  if (const auto* si = dynamic_cast<const abi::__si_class_type_info*>(type)) {
    f(static_cast<const std::type_info*>(si->__base_type));
  } else if (const auto* vmi = dynamic_cast<const abi::__vmi_class_type_info*>(type)) {
    for (unsigned i = 0; i < vmi->__base_count; ++i) f(static_cast<const std::type_info*>(vmi->__base_info[i].__base_type));
  }
}

// The registered classes among the direct C++ bases of `type`; a base that
// is no registered class (a C++ helper such as VMException) is looked
// through. At most `capacity` are kept; the count found is returned.
int32_t directJavaBases(const std::type_info* type, const ClassesByType& classes, Class** out, int32_t capacity) {
  int32_t n = 0;
  forEachDirectBase(type, [&](const std::type_info* base) {
    if (Class* k = classes.find(base)) {
      if (n < capacity) out[n] = k;
      ++n;
    } else {
      n += directJavaBases(base, classes, out + (n < capacity ? n : capacity), n < capacity ? capacity - n : 0);
    }
  });
  return n;
}

// Whether `base` is a C++ base of `type`, directly or not.
bool derivesFrom(const std::type_info* type, const std::type_info* base) {
  bool found = false;
  forEachDirectBase(type, [&](const std::type_info* b) { found = found || *b == *base || derivesFrom(b, base); });
  return found;
}

void reportMismatch(Class* c, const char* what, const char* registered, const char* cpp) {
  std::fprintf(stderr, "Class registration of %s disagrees with its C++ class: %s (registered: %s, C++: %s)\n",
               c->_VM_name.c_str(), what, registered, cpp);
}

// Checks one class; returns whether it agrees.
bool checkClass(Class* c, const ClassesByType& classes) {
  if (c == _VM_getObjectClass()) return true;
  constexpr int32_t kCapacity = 32;
  Class* bases[kCapacity];
  const int32_t found = directJavaBases(c->_VM_type, classes, bases, kCapacity);
  const int32_t n = found < kCapacity ? found : kCapacity;
  bool ok = true;
  Class* super = nullptr;
  for (int32_t i = 0; i < n; ++i) {
    Class* k = bases[i];
    if (k->_VM_isInterface || k == _VM_getObjectClass()) continue;
    if (super != nullptr && super != k) {
      reportMismatch(c, "two Java superclasses", super->_VM_name.c_str(), k->_VM_name.c_str());
      ok = false;
    }
    super = k;
  }
  const char* expected = super != nullptr ? super->_VM_name.c_str() : "java.lang.Object";
  if (c->_VM_isInterface && super != nullptr) {
    reportMismatch(c, "an interface derives from a class", "interface", expected);
    ok = false;
  }
  // An interface may name no superclass at all (Java's answer for one).
  const bool noSuperNamed = c->_VM_isInterface && c->_VM_superName.length() == 0;
  if (!noSuperNamed && !c->_VM_superName.equals(expected)) {
    reportMismatch(c, "superclass", c->_VM_superName.c_str(), expected);
    ok = false;
  }
  for (int32_t i = 0; i < n; ++i) {
    Class* k = bases[i];
    if (k->_VM_isInterface && !_VM_implementsInterface(c, k)) {
      reportMismatch(c, "interface not registered with VM_IMPLEMENTS", "-", k->_VM_name.c_str());
      ok = false;
    }
  }
  for (HALListNode* node = c->_VM_interfaces.getFirst(); node != nullptr; node = node->next) {
    Class* k = static_cast<Class*>(node->value);
    if (k->_VM_type == nullptr || !derivesFrom(c->_VM_type, k->_VM_type)) {
      reportMismatch(c, "VM_IMPLEMENTS names no C++ base", k->_VM_name.c_str(), "-");
      ok = false;
    }
  }
  return ok;
}

}  // namespace

int32_t _VM_checkClassRegistrations() {
  ClassesByType classes;
  int32_t checked = 0;
  bool ok = true;
  for (VMClassCreatorRecord* r = creators.head; r != nullptr; r = r->next) {
    Class* c = r->made;
    if (c == nullptr || c->_VM_type == nullptr) continue;
    ok = checkClass(c, classes) && ok;
    ++checked;
  }
  if (!ok) _VM_fatalError("Class registrations disagree with their C++ classes!");
  return checked;
}
